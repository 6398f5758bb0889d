#include "term_entry_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavricat::gui {

TermEntryDialog::TermEntryDialog(QWidget* parent)
    : QDialog(parent),
      m_key(new QLineEdit(this)),
      m_meanings(new QLineEdit(this)),
      m_association(new QLineEdit(this)),
      m_partOfSpeech(new QLineEdit(this)),
      m_attribute(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("确 定"), this)),
      m_cancel(new QPushButton(QStringLiteral("取 消"), this)) {
    setObjectName(QStringLiteral("frmAdjCmean"));
    setWindowTitle(QStringLiteral("词义修改"));
    m_key->setObjectName(QStringLiteral("Edit1"));
    m_meanings->setObjectName(QStringLiteral("Edit2"));
    m_association->setObjectName(QStringLiteral("Edit5"));
    m_partOfSpeech->setObjectName(QStringLiteral("Edit3"));
    m_attribute->setObjectName(QStringLiteral("Edit4"));
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_cancel->setObjectName(QStringLiteral("Button2"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("原文"), m_key);
    form->addRow(QStringLiteral("译文"), m_meanings);
    form->addRow(QStringLiteral("联想"), m_association);
    form->addRow(QStringLiteral("词性"), m_partOfSpeech);
    form->addRow(QStringLiteral("属性"), m_attribute);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    m_meanings->setMinimumWidth(320);
}

void TermEntryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QLineEdit* first = m_key->text().isEmpty() ? m_key : m_meanings;
    first->setFocus();
    first->setCursorPosition(0);
}

}  // namespace tavricat::gui
