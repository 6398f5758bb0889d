#pragma once
// The term entry dialog ("词义修改" unless the command names it otherwise): the key and the
// four fields of an entry -- translations, associations, part of speech, attribute.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tavricat::gui {

class TermEntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit TermEntryDialog(QWidget* parent = nullptr);

    QLineEdit* keyField() const { return m_key; }           // "原文"
    QLineEdit* meaningsField() const { return m_meanings; } // "译文"
    QLineEdit* associationField() const { return m_association; }  // "联想"
    QLineEdit* partOfSpeechField() const { return m_partOfSpeech; } // "词性"
    QLineEdit* attributeField() const { return m_attribute; }       // "属性"
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    // The focus goes to the translations when the key is given, else to the key; the caret
    // at the start either way.
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_key;
    QLineEdit* m_meanings;
    QLineEdit* m_association;
    QLineEdit* m_partOfSpeech;
    QLineEdit* m_attribute;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

}  // namespace tavricat::gui
