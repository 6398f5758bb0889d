#pragma once
// Ports: how the core speaks to the person. Each front end implements them (Qt windows in
// the GUI, the terminal in the CLI, scripted doubles in tests). All texts are GBK.

#include <optional>
#include <string>

#include "base/term_entry_form.h"

namespace tavricat {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message box with an OK button.
    virtual void message(const std::string& text) = 0;
    // A question with Yes and No; only Yes acts, so a front end that cannot ask answers No.
    virtual bool askYesNo(const std::string& text) = 0;
    virtual void beep() = 0;
    // Returns nothing when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& initial) = 0;
    // `filter` in the form "说明|*.txt;*.rtf|...". Returns a native path, nothing when cancelled.
    virtual std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& filter) = 0;
    virtual std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                                      const std::string& suggestedName) = 0;
    // The term entry dialog, shown modally with `form`; the person's fields are written back
    // into it. True when accepted ("确 定"); false when cancelled, and by a front end that
    // cannot ask, which leaves every command that asks unchanged.
    virtual bool editTermEntry(TermEntryForm& form) {
        (void)form;
        return false;
    }
};

// The one shared progress window: a text line and a bar.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void show(const std::string& text, int maximum, int position) = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void setPosition(int position) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void hide() = 0;
    // Lets the front end handle pending events (repaint, a stop request) between the steps of
    // a long operation; called once per sentence or item.
    virtual void pump() = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() = 0;
    virtual void setText(const std::string& text) = 0;
    // Rich text as RTF bytes.
    virtual std::string richText() = 0;
    virtual void setRichText(const std::string& rtf) = 0;
};

// Ports that do nothing and answer No: for runs with nobody to ask.
class SilentDialogs : public Dialogs {
public:
    void message(const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
    void beep() override {}
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&, const std::string&) override { return std::nullopt; }
};

class SilentProgress : public Progress {
public:
    void show(const std::string&, int, int) override {}
    void setText(const std::string&) override {}
    void setPosition(int) override {}
    void setCaption(const std::string&) override {}
    void hide() override {}
    void pump() override {}
};

}  // namespace tavricat
