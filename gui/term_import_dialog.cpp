#include "term_import_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>

#include <algorithm>
#include <exception>

#include "app/term_base_import.h"
#include "base/encoding.h"
#include "help_browser.h"
#include "qt_ports.h"
#include "dialog_parts.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

const QString kCaption = QStringLiteral("更新词库");

}  // namespace

TermImportDialog::TermImportDialog(Workbench& bench, QWidget* parent)
    : QDialog(parent),
      m_bench(bench),
      m_chooseFiles([](QWidget* owner) {
          return QFileDialog::getOpenFileNames(
              owner, QStringLiteral("选择用于更新库的例句文件"), QString(),
              qtFileFilter(QStringLiteral("词库文件(*.01)|*.01|词条文本(*.txt)|*.txt|词库修改记录(*.saw)|*.saw|所有文件|*")));
      }) {
    setWindowTitle(kCaption);
    setModal(true);

    m_files = new FileCheckList(FileCheckList::Duplicates::Allowed, this);
    m_files->setObjectName(QStringLiteral("files"));

    auto* same = new QGroupBox(QStringLiteral("相同词条"), this);
    m_replace = new QRadioButton(QStringLiteral("替换"), same);
    m_replace->setObjectName(QStringLiteral("replaceSame"));
    m_replace->setChecked(true);
    m_merge = new QRadioButton(QStringLiteral("合并"), same);
    m_merge->setObjectName(QStringLiteral("mergeSame"));
    auto* sameLayout = new QHBoxLayout(same);
    sameLayout->addWidget(m_replace);
    sameLayout->addWidget(m_merge);

    m_filesBar = new QProgressBar(this);
    m_filesBar->setObjectName(QStringLiteral("filesBar"));
    m_linesBar = new QProgressBar(this);
    m_linesBar->setObjectName(QStringLiteral("linesBar"));
    for (QProgressBar* bar : {m_filesBar, m_linesBar}) {
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
    }

    QPushButton* add = button(QStringLiteral("添加..."), "addButton", this);
    add->setToolTip(QStringLiteral("选择用于更新库的例句文件"));
    QPushButton* remove = button(QStringLiteral("删  除"), "removeButton", this);
    QPushButton* clear = button(QStringLiteral("清  空"), "clearButton", this);
    QPushButton* update = button(QStringLiteral("更  新"), "updateButton", this);
    QPushButton* help = button(QStringLiteral("帮  助"), "helpButton", this);
    connect(help, &QPushButton::clicked, this, [this] { openHelp(m_bench, this, QStringLiteral("term_import.htm")); });
    QPushButton* close = button(QStringLiteral("退  出"), "closeButton", this);
    connect(add, &QPushButton::clicked, this, [this] { addFiles(m_chooseFiles(this)); });
    connect(remove, &QPushButton::clicked, m_files, &FileCheckList::removeCheckedFiles);
    connect(clear, &QPushButton::clicked, m_files, &QListWidget::clear);
    connect(update, &QPushButton::clicked, this, &TermImportDialog::runImport);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : {add, remove, clear, update, help, close}) buttons->addWidget(each);
    buttons->addStretch();
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(QStringLiteral("用于更新的文件:"), this));
    listColumn->addWidget(m_files, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(listColumn, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(same);
    layout->addWidget(m_filesBar);
    layout->addWidget(m_linesBar);
    resize(560, 380);
}

void TermImportDialog::addFiles(const QStringList& files) { m_files->addFiles(files); }

void TermImportDialog::runImport() {
    const std::vector<std::string> files = m_files->paths();
    if (files.empty()) return;
    setEnabled(false);  // watched, not cancelled
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_filesBar->setRange(0, static_cast<int>(files.size()));
    m_filesBar->setValue(0);
    WindowProgress progress(*this, *m_linesBar);
    // Nothing may leave the window's event handler: whatever the core throws is told and the
    // window stays usable.
    try {
        importTermFiles(m_bench, files, m_replace->isChecked(), progress,
                        [&](std::size_t index, const TermMergeCounts* counts) {
                            if (counts) m_files->setChecked(static_cast<int>(index), true);
                            m_filesBar->setValue(static_cast<int>(index + 1));
                        });
    } catch (const std::exception& e) {
        m_bench.dialogs().message(encoding::toGbk("更新词库时出错：") + encoding::utf8ToGbkLossy(e.what()));
    }
    setWindowTitle(kCaption);
    QApplication::restoreOverrideCursor();
    setEnabled(true);
}

}  // namespace tavricat::gui
