#pragma once
// The grammar dialog "frmaddyufa": a source pattern, a target template, the choice "关联" or
// "齐头" and the three "长限" gap limits, giving one record "SOURCE^OPTION^TARGET" for the
// grammar library's add, delete and modify commands.

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavricat {
class Dialogs;
}

namespace tavricat::gui {

class GrammarDialog : public QDialog {
    Q_OBJECT
public:
    // `caption` is the window's ("添加语法", "删除语法"), `button` the first button's
    // ("添  加", "删  除").
    GrammarDialog(Dialogs& dialogs, const QString& caption, const QString& button, QWidget* parent = nullptr);

    // Fills the fields from a pattern's source and target (GBK), for "修改...".
    void setPattern(const std::string& source, const std::string& target);
    // The record the dialog gave (GBK); empty when it was cancelled.
    const std::string& record() const { return m_record; }

    QLineEdit* sourceField() const { return m_source; }
    QLineEdit* targetField() const { return m_target; }
    QLineEdit* limitField(int i) const { return m_limits[static_cast<std::size_t>(i)]; }
    QRadioButton* associatedChoice() const { return m_associated; }
    QRadioButton* alignedChoice() const { return m_aligned; }
    QPushButton* okButton() const { return m_ok; }

private:
    void take();

    Dialogs& m_dialogs;
    QLineEdit* m_source;
    QLineEdit* m_target;
    std::array<QLineEdit*, 3> m_limits{};
    QRadioButton* m_associated;
    QRadioButton* m_aligned;
    QPushButton* m_ok;
    std::string m_record;
};

// Shows the dialog modally and returns its record (empty when cancelled).
std::string askGrammarRecord(Dialogs& dialogs, const QString& caption, const QString& button, QWidget* parent,
                             const std::string& source = {}, const std::string& target = {});

}  // namespace tavricat::gui
