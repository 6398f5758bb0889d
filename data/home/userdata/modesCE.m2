与 其 * ~ *^<(6 0 0)~>#2 rather than #1
虽 然 * ~ *^<(8 0 0)~>although #1, #2
不 但 * ~ *^<(6 0 0)~>not only #1 but also #2
不 仅 * ~ *^<(6 0 0)~>not only #1 but also #2
不 是 * ~ *^<(6 0 0)~>not #1 but #2
因 为 * ~ *^<(8 0 0)~>because #1, #2
~ *^<~>in accordance with #1
~ *^<~>do not #1
~ * 以 外^<(6 0 0)~>besides #1
~ * 之 外^<(6 0 0)~>besides #1
~ * 到 *^<(4 0 0)~>from #1 to #2
* ~^<~>when #1
在 * ~^<(6 0 0)~>in terms of #1
~ *^<~>according to #1
~ *^<~>about #1
~^<~>in other words
~ * , * 也^<(8 4 0)~>even if #1, #2
~ * 又 *^<(4 0 0)~>both #1 and #2
对 * ~ *^<(4 0 0)~>#2 #1
对 * ~^<(6 0 0)~>for #1
~^<~>for example
在 * ~^<(6 0 0)~>during #1
~ *^<~>please #1
~ * , * 就^<(8 4 0)~>if #1, #2
~ *^<~>with #1
向 * ~ *^<(4 0 0)~>provide #1 with #2
~ *^<~>in order to #1
~ * , * 都^<(8 4 0)~>no matter #1, #2
~ * 就 *^<(4 0 0)~>as soon as #1, #2
~ * ~ *^<(4 0 0)~>#1 while #2
和 * ~^<(4 0 0)~>the same as #1
跟 * ~^<(4 0 0)~>the same as #1
在 * ~^<(6 0 0)~>after #1
* ~^<~>after #1
在 * ~^<(6 0 0)~>before #1
* ~^<~>before #1
~^<~>at the same time
~ * ~ *^<(3 0 0)~>the more #1, the more #2
~ *^<~>more and more #1
~ * 上^<(6 0 0)~>on #1
~ * 中^<(6 0 0)~>in #1
~ * 里^<(6 0 0)~>in #1
~ * 下^<(6 0 0)~>under #1
在 * ~^<(6 0 0)~>between #1
* ~^<~>one of #1
~ * 为 止^<(6 0 0)~>until #1
~ * , * 就^<(8 4 0)~>as long as #1, #2
~ * , * 才^<(8 4 0)~>only if #1, #2
~^<~>in short
