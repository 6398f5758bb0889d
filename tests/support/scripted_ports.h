#pragma once
// Test doubles of the ports: questions take queued answers (No when the queue is empty),
// every message and question is recorded.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/ports.h"

namespace tavricat::testing {

class ScriptedDialogs : public Dialogs {
public:
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> inputs;  // for inputBox and the file choosers
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    int beeps = 0;
    std::function<void()> onAsk;  // what happens while a question is open (a stop request, say)
    std::vector<std::string> inputPrompts;  // each input box as caption "|" prompt "|" initial text
    // The term entry dialog: each answer edits the form and says whether it was accepted; the
    // dialog is cancelled when none is left. Every form is recorded as the core filled it.
    std::deque<std::function<bool(TermEntryForm&)>> termAnswers;
    std::vector<TermEntryForm> termForms;

    void message(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text) override {
        questions.push_back(text);
        if (onAsk) onAsk();
        if (answers.empty()) return false;
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beep() override { ++beeps; }
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override {
        inputPrompts.push_back(caption + "|" + prompt + "|" + initial);
        return nextInput();
    }
    bool editTermEntry(TermEntryForm& form) override {
        termForms.push_back(form);
        if (termAnswers.empty()) return false;
        auto answer = std::move(termAnswers.front());
        termAnswers.pop_front();
        return answer(form);
    }
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return nextInput(); }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&, const std::string&) override {
        return nextInput();
    }

private:
    std::optional<std::string> nextInput() {
        if (inputs.empty()) return std::nullopt;
        auto value = inputs.front();
        inputs.pop_front();
        return value;
    }
};

// Records what a progress window would have shown, as "show:<text>", "pos:<n>", "hide".
class RecordingProgress : public Progress {
public:
    std::vector<std::string> events;
    int pumps = 0;
    std::function<void()> onPump;  // what happens while a run yields (a stop request, say)

    void show(const std::string& text, int maximum, int position) override {
        events.push_back("show:" + text + "/" + std::to_string(maximum) + "@" + std::to_string(position));
    }
    void setText(const std::string& text) override { events.push_back("text:" + text); }
    void setPosition(int position) override { events.push_back("pos:" + std::to_string(position)); }
    void setCaption(const std::string& caption) override { events.push_back("caption:" + caption); }
    void hide() override { events.push_back("hide"); }
    void pump() override {
        ++pumps;
        if (onPump) onPump();
    }
};

class MemoryClipboard : public Clipboard {
public:
    std::string plain, rich;
    std::string text() override { return plain; }
    void setText(const std::string& t) override { plain = t; }
    std::string richText() override { return rich; }
    void setRichText(const std::string& rtf) override { rich = rtf; }
};

}  // namespace tavricat::testing
