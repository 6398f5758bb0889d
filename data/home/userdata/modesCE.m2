与 其 * ~ *^<(6 0 0)~>#2 rather than #1
虽 然 * ~ *^<(8 0 0)~>although #1, #2
不 但 * ~ *^<(6 0 0)~>not only #1 but also #2
不 仅 * ~ *^<(6 0 0)~>not only #1 but also #2
不 是 * ~ *^<(6 0 0)~>not #1 but #2
除 非 * ~ *^<(8 0 0)~>unless #1, #2
~ *^<~>, otherwise #1
先 * ~ *^<(6 0 0)~>first #1, then #2
首 先 * ~ *^<(6 0 0)~>first #1, then #2
因 为 * ~ *^<(8 0 0)~>because #1, #2
由 于 * ~ *^<(8 0 0)~>since #1, #2
~ * 键^<(4 0 0)~>press the #1 key
~ *^<~>in accordance with #1
~ *^<(1 0 0)~>#1 percent
~ * 更 *^<(4 0 0)~>more #2 than #1
~ * 大^<(4 0 0)~>bigger than #1
~ * 小^<(4 0 0)~>smaller than #1
~ * 高^<(4 0 0)~>higher than #1
~ * 低^<(4 0 0)~>lower than #1
~ * 快^<(4 0 0)~>faster than #1
~ * 多^<(4 0 0)~>more than #1
~ * 少^<(4 0 0)~>less than #1
~ *^<~>must #1
~ *^<~>must not #1
~ * , * 都^<(8 4 0)~>no matter #1, #2
~ * 还 *^<(6 0 0)~>not only #1 but also #2
~ *^<~>cannot #1
~ * 就 是 *^<(6 0 0)~>either #1 or #2
与 * ~^<(6 0 0)~>different from #1
~ *^<~>do not #1
~ * 外^<(6 0 0)~>except #1
~ *^<~>unless #1
~ * 以 外^<(6 0 0)~>besides #1
~ * 之 外^<(6 0 0)~>besides #1
~^<~>in addition
~^<~>best regards
* ~^<(1 0 0)~>#1 times
~ * 到 *^<(4 0 0)~>from #1 to #2
把 * ~^<(6 0 0)~>open #1
~ * 按 钮^<(4 0 0)~>click the #1 button
~ * 时^<(6 0 0)~>when #1
* ~^<~>when #1
在 * ~^<(6 0 0)~>when #1
当 * ~^<(6 0 0)~>when #1
~ * 章^<(2 0 0)~>chapter #1
~ * 页^<(2 0 0)~>page #1
~ * 步^<(2 0 0)~>step #1
~ *^<~>for #1
~ * 来 说^<(6 0 0)~>for #1
向 * ~ *^<(4 0 0)~>send #2 to #1
把 * ~ *^<(6 0 0)~>send #1 to #2
把 * ~ *^<(6 0 0)~>translate #1 into #2
在 * ~^<(6 0 0)~>in terms of #1
把 * ~ *^<(6 0 0)~>put #1 in #2
~^<~>thank you very much
* ~^<(1 0 0)~>#1 minutes
* ~ *^<(1 1 0)~>#1 copies of #2
~ *^<~>otherwise #1
~ *^<~>comply with #1
由 * ~^<(6 0 0)~>#1 is responsible
~ *^<~>thank you for #1
* ~^<(1 0 0)~>#1 months
~ *^<~>according to #1
~ * , *^<(8 0 0)~>according to #1, #2
* ~^<(1 0 0)~>#1 kg
* ~^<(1 0 0)~>#1 km
把 * ~^<(6 0 0)~>close #1
~ *^<~>about #1
在 * ~^<(6 0 0)~>during #1
* ~^<(1 0 0)~>#1 mm
~ *^<~>we are sorry that #1
~ *^<~>have not yet #1
~^<~>in other words
~ *^<~>be about to #1
~ * , * 也^<(8 4 0)~>even if #1, #2
~ * 又 *^<(4 0 0)~>both #1 and #2
~ * , *^<(8 0 0)~>since #1, #2
~ * , *^<(8 0 0)~>if #1, #2
把 * ~ *^<(6 0 0)~>hand #1 over to #2
对 * ~ *^<(4 0 0)~>#2 #1
~ *^<~>do not #1
~ * , 但 *^<(8 0 0)~>although #1, #2
~ *^<~>despite #1
~^<~>as soon as possible
被 * ~^<(6 0 0)~>is rejected by #1
从 * ~^<(6 0 0)~>starting from #1
对 * ~^<(6 0 0)~>for #1
* ~^<(1 0 0)~>#1 cm
~^<~>for example
与 * ~^<(6 0 0)~>contact #1
把 * ~ *^<(6 0 0)~>connect #1 to #2
~^<~>.
~^<~>every day
* ~^<(1 0 0)~>#1 seconds
~^<~>at present
* ~^<(1 0 0)~>#1 years
把 * ~^<(6 0 0)~>tighten #1
被 * ~^<(6 0 0)~>is approved by #1
~ *^<~>look forward to #1
在 * ~^<(6 0 0)~>during #1
~ *^<~>never #1
~ *^<~>please #1
~ *^<~>please do not #1
~ *^<~>please refer to #1
~ *^<~>please make sure that #1
~ *^<~>please feel free to #1
~ *^<~>do not #1
~ *^<~>be sure to #1
~ * 联 系^<(6 0 0)~>please contact #1
~ *^<~>please note #1
~ *^<~>depends on #1
~ *^<~>make sure that #1
~^<~>however
~ * , * 就^<(8 4 0)~>if #1, #2
~ * 的 话^<(6 0 0)~>if #1
~ * , 请 *^<(8 0 0)~>if #1, please #2
~ * , 则 *^<(8 0 0)~>if #1, then #2
~ *^<~>if #1
~ *^<~>how to #1
~^<~>if you have any questions
被 * ~^<(6 0 0)~>is deleted by #1
在 * ~ *^<(6 0 0)~>there is #2 on #1
~ *^<~>have not yet #1
当 * ~ *^<(8 0 0)~>when #1, #2
被 * ~^<(6 0 0)~>is used by #1
~ * 的^<(4 0 0)~>is #1
~ *^<~>whether #1
~ *^<~>applies to #1
~ * 后^<(6 0 0)~>upon receipt of #1
~^<~>first
~ *^<~>belong to #1
~ *^<~>although #1
~ *^<~>please find attached #1
~ *^<~>with #1
被 * ~^<(6 0 0)~>is damaged by #1
* ~ *^<(1 1 0)~>#1 sets of #2
向 * ~ *^<(4 0 0)~>provide #1 with #2
为 * ~ *^<(4 0 0)~>provide #1 with #2
* ~^<(1 0 0)~>#1 days
~ *^<~>through #1
~ *^<~>in order to #1
~ * , *^<(8 0 0)~>in order to #1, #2
~ *^<~>we are pleased to #1
~ * , * 都^<(8 4 0)~>no matter #1, #2
与 * ~^<(6 0 0)~>compared with #1
和 * ~^<(6 0 0)~>compared with #1
与 * ~^<(6 0 0)~>the same as #1
* ~ *^<(1 1 0)~>#1 boxes of #2
* ~^<(1 0 0)~>#1 hours
每 * ~^<(2 0 0)~>every #1 hours
~ *^<~>need to #1
~ * 菜 单^<(4 0 0)~>select the #1 menu
~ *^<~>never #1
~ * 就 *^<(4 0 0)~>as soon as #1, #2
~ * ~ *^<(4 0 0)~>#1 while #2
~ * , *^<(8 0 0)~>once #1, #2
~ *^<~>once #1
和 * ~^<(4 0 0)~>the same as #1
跟 * ~^<(4 0 0)~>the same as #1
~ *^<~>in accordance with #1
~ * 了^<(6 0 0)~>have already #1
~ *^<~>already #1
~ *^<~>so that #1
在 * ~^<(6 0 0)~>after #1
* ~^<~>after #1
~ *^<~>so as not to #1
在 * ~^<(6 0 0)~>before #1
* ~^<~>before #1
~^<~>therefore
~ *^<~>because #1
~ *^<~>should #1
~ * 来 *^<(4 0 0)~>use #1 to #2
~ *^<~>used for #1
~ *^<~>due to #1
与 * ~^<(6 0 0)~>related to #1
~^<~>at the same time
~ * ~ *^<(3 0 0)~>the more #1, the more #2
~ *^<~>more and more #1
~ * 上^<(6 0 0)~>on #1
~ * 中^<(6 0 0)~>in #1
~ * 里^<(6 0 0)~>in #1
~ * 下^<(6 0 0)~>under #1
~ * 时^<(6 0 0)~>when #1
~ * 内^<(6 0 0)~>within #1
~ * 后^<(6 0 0)~>after #1
~ * 前^<(6 0 0)~>before #1
~ *^<~>for #1
在 * ~^<(6 0 0)~>after #1
* ~^<~>after #1
在 * ~ *^<(8 0 0)~>after #1, #2
在 * ~^<(6 0 0)~>between #1
在 * ~^<(6 0 0)~>before #1
* ~^<~>before #1
在 * ~ *^<(8 0 0)~>before #1, #2
* ~^<~>one of #1
是 * ~^<(6 0 0)~>is one of #1
~ * 为 止^<(6 0 0)~>until #1
~ *^<~>until #1
~ * , * 就^<(8 4 0)~>as long as #1, #2
~ * , * 才^<(8 4 0)~>only if #1, #2
是 由 * ~^<(6 0 0)~>is made of #1
把 * ~ *^<(6 0 0)~>convert #1 into #2
~^<~>in short
由 * ~^<(6 0 0)~>consist of #1
~ *^<(1 0 0)~>the most #1
~^<~>finally
~ *^<1~>dear #1
~ *^<~>as #1
