#include "grammar_dialog.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/ports.h"
#include "grammar/grammar_record.h"
#include "position_map.h"
#include "text_convert.h"

namespace tavricat::gui {

GrammarDialog::GrammarDialog(Dialogs& dialogs, const QString& caption, const QString& button, QWidget* parent)
    : QDialog(parent),
      m_dialogs(dialogs),
      m_source(new QLineEdit(this)),
      m_target(new QLineEdit(this)),
      m_associated(new QRadioButton(QStringLiteral("关联"), this)),
      m_aligned(new QRadioButton(QStringLiteral("齐头"), this)),
      m_ok(new QPushButton(button, this)) {
    setObjectName(QStringLiteral("frmaddyufa"));
    setWindowTitle(caption);
    m_source->setObjectName(QStringLiteral("Edit1"));
    m_target->setObjectName(QStringLiteral("Edit2"));
    m_source->setMinimumWidth(360);
    m_associated->setObjectName(QStringLiteral("checkbox1"));
    m_aligned->setObjectName(QStringLiteral("checkbox2"));
    // Neither choice is made when the dialog opens; one excludes the other.
    auto* choices = new QButtonGroup(this);
    choices->addButton(m_associated);
    choices->addButton(m_aligned);

    auto* limits = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* field = new QLineEdit(QStringLiteral("0"), this);
        field->setObjectName(QStringLiteral("Edit%1").arg(i + 3));
        // The matcher reads each limit as one digit.
        field->setValidator(new QIntValidator(0, 9, field));
        field->setMaxLength(1);
        field->setFixedWidth(36);
        m_limits[static_cast<std::size_t>(i)] = field;
        limits->addWidget(field);
    }
    limits->addStretch();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("原文"), m_source);
    form->addRow(QStringLiteral("译文"), m_target);
    form->addRow(QStringLiteral("长限"), limits);
    auto* flags = new QHBoxLayout;
    flags->addWidget(m_associated);
    flags->addWidget(m_aligned);
    flags->addStretch();
    form->addRow(QString(), flags);

    auto* cancel = new QPushButton(QStringLiteral("取  消"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &GrammarDialog::take);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    m_source->setFocus();
}

void GrammarDialog::setPattern(const std::string& source, const std::string& target) {
    m_source->setText(fromGbk(source));
    m_target->setText(fromGbk(target));
}

void GrammarDialog::take() {
    const TypedText source = typedToGbk(m_source->text());
    const TypedText target = typedToGbk(m_target->text());
    if (!source.ok || !target.ok) {
        m_dialogs.message(!source.ok ? source.error : target.error);  // the fields stay for correcting
        return;
    }
    GrammarOption option;
    if (m_associated->isChecked()) option.flag = GrammarFlag::Associated;
    if (m_aligned->isChecked()) option.flag = GrammarFlag::Aligned;
    for (std::size_t i = 0; i < 3; ++i) option.limits[i] = m_limits[i]->text().toInt();
    // The target shows the marks as they will be stored.
    m_target->setText(fromGbk(normalizeTemplateMarks(target.gbk)));
    m_record = grammarDialogRecord(source.gbk, target.gbk, option);
    m_source->clear();
    m_target->clear();
    accept();
}

std::string askGrammarRecord(Dialogs& dialogs, const QString& caption, const QString& button, QWidget* parent,
                             const std::string& source, const std::string& target) {
    GrammarDialog dialog(dialogs, caption, button, parent);
    if (!source.empty() || !target.empty()) dialog.setPattern(source, target);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.record();
}

}  // namespace tavricat::gui
