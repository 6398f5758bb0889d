#pragma once
// "库信息": the title, author, file name and description of a new term base or sentence
// library. OK creates the library's files; a refusal is shown and the dialog stays open.

#include <QDialog>

#include <functional>
#include <string>

#include "base/library_info.h"
#include "base/status.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tavricat {
class Workbench;
}

namespace tavricat::gui {

class LibraryInfoDialog : public QDialog {
    Q_OBJECT
public:
    // Creates the files of a library from the answers; returns its native name. A refusal
    // has been shown to the person already.
    using Creator = std::function<Result<std::string>(const LibraryInfo&)>;

    explicit LibraryInfoDialog(Workbench& bench, QWidget* parent = nullptr);

    // Prepares for one library: clears the boxes; by default OK writes the files of `kind`.
    void prepare(LibraryKind kind, Creator creator = {});
    // Runs modally; the new library's native name, or empty when cancelled.
    std::string run(LibraryKind kind, Creator creator = {});
    const std::string& createdName() const { return m_created; }

    QLineEdit* titleBox() const { return m_title; }
    QLineEdit* authorBox() const { return m_author; }
    QLineEdit* fileNameBox() const { return m_fileName; }
    QPlainTextEdit* descriptionBox() const { return m_description; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onOk();

    Workbench& m_bench;
    Creator m_creator;
    std::string m_created;
    QLineEdit* m_title;
    QLineEdit* m_author;
    QLineEdit* m_fileName;
    QPlainTextEdit* m_description;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

}  // namespace tavricat::gui
