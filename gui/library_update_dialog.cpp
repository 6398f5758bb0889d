#include "library_update_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>

#include <string>
#include <vector>

#include "app/library_update_setup.h"
#include "base/encoding.h"
#include "memory/library_update.h"
#include "qt_ports.h"
#include "help_browser.h"
#include "dialog_parts.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

const QString kCaption = QStringLiteral("更新例句库");
const char* const kCounterCaptions[4] = {"总计：", "重复：", "新加：", "当前库例句总数:"};


}  // namespace

LibraryUpdateDialog::LibraryUpdateDialog(Workbench& bench, QWidget* parent)
    : QDialog(parent),
      m_bench(bench),
      m_chooseFiles([](QWidget* owner) {
          return QFileDialog::getOpenFileNames(
              owner, QStringLiteral("打开源文件"), QString(),
              qtFileFilter(QStringLiteral("双语文件(*.bil)|*.bil|例句文本(*.exs)|*.exs|例句库文件(*.rf0)|*.rf0|"
                                          "Word文件(*.docx;*.doc)|*.docx;*.doc|OpenDocument文本(*.odt)|*.odt")));
      }) {
    setWindowTitle(kCaption);
    setModal(true);

    m_files = new FileCheckList(FileCheckList::Duplicates::Allowed, this);
    m_files->setObjectName(QStringLiteral("files"));

    auto* options = new QGroupBox(this);
    m_overwrite = new QRadioButton(QStringLiteral("覆盖相同句子"), options);
    m_overwrite->setObjectName(QStringLiteral("overwriteSame"));
    m_overwrite->setChecked(true);
    m_keep = new QRadioButton(QStringLiteral("保留相同句子"), options);
    m_keep->setObjectName(QStringLiteral("keepSame"));
    auto* optionLayout = new QHBoxLayout(options);
    optionLayout->addWidget(m_overwrite);
    optionLayout->addWidget(m_keep);

    auto* counters = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        m_counters[i] = new QLabel(this);
        m_counters[i]->setObjectName(QStringLiteral("counter%1").arg(i));
        counters->addWidget(m_counters[i], i / 2, i % 2);
    }
    for (int i = 0; i < 3; ++i) m_counters[i]->setText(QString::fromUtf8(kCounterCaptions[i]) + u'0');
    showLibrarySize();

    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);

    QPushButton* add = button(QStringLiteral("添加..."), "addButton", this);
    QPushButton* remove = button(QStringLiteral("删  除"), "removeButton", this);
    QPushButton* clear = button(QStringLiteral("清  空"), "clearButton", this);
    m_updateButton = button(QStringLiteral("更  新"), "updateButton", this);
    QPushButton* help = button(QStringLiteral("帮  助"), "helpButton", this);
    connect(help, &QPushButton::clicked, this, [this] { openHelp(m_bench, this, QStringLiteral("newpage89.htm")); });
    QPushButton* close = button(QStringLiteral("退  出"), "closeButton", this);
    connect(add, &QPushButton::clicked, this, [this] { addFiles(m_chooseFiles(this)); });
    connect(remove, &QPushButton::clicked, this, &LibraryUpdateDialog::removeCheckedFiles);
    connect(clear, &QPushButton::clicked, this, &LibraryUpdateDialog::clearFiles);
    connect(m_updateButton, &QPushButton::clicked, this, &LibraryUpdateDialog::runUpdate);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : {add, remove, clear, m_updateButton, help, close}) buttons->addWidget(each);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(m_files, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(options);
    layout->addLayout(counters);
    layout->addWidget(m_bar);
    resize(560, 380);
}

void LibraryUpdateDialog::addFiles(const QStringList& files) { m_files->addFiles(files); }

void LibraryUpdateDialog::removeCheckedFiles() { m_files->removeCheckedFiles(); }

void LibraryUpdateDialog::clearFiles() { m_files->clear(); }

QString LibraryUpdateDialog::counterText(int which) const { return m_counters[which]->text(); }

void LibraryUpdateDialog::showLibrarySize() {
    m_counters[3]->setText(QString::fromUtf8(kCounterCaptions[3]) +
                           QString::number(m_bench.sentenceLibrary.exampleCount()));
}

void LibraryUpdateDialog::runUpdate() {
    const std::vector<std::string> files = m_files->paths();
    if (files.empty()) return;
    setEnabled(false);  // watched, not cancelled
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::size_t totals[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) m_counters[i]->setText(QString::fromUtf8(kCounterCaptions[i]) + u'0');

    WindowProgress progress(*this, *m_bar);
    LibraryUpdateContext context = libraryUpdateContextOf(m_bench, false);
    context.progress = &progress;  // the window's own bar
    // Nothing may leave the window's event handler: whatever the core throws is told and the
    // window stays usable.
    try {
        updateLibraryFromFiles(context, files, m_overwrite->isChecked(), m_bench.workspace().userDataFolder(),
                               [&](std::size_t index, const std::string& input, const FileUpdateCounts* counts) {
                                   QListWidgetItem* item = m_files->item(static_cast<int>(index));
                                   item->setText(fromNativePath(input));  // a .bil is now its .exs
                                   if (!counts) return;                   // the person was told
                                   m_files->setChecked(static_cast<int>(index), true);
                                   totals[0] += counts->pairsRead;
                                   totals[1] += counts->same;
                                   totals[2] += counts->added();
                                   for (int i = 0; i < 3; ++i)
                                       m_counters[i]->setText(QString::fromUtf8(kCounterCaptions[i]) +
                                                              QString::number(totals[i]));
                                   showLibrarySize();
                                   m_bar->setValue(0);
                               });
    } catch (const std::exception& e) {
        m_bench.dialogs().message(encoding::toGbk("更新例句库时出错：") + encoding::utf8ToGbkLossy(e.what()));
    }
    setWindowTitle(kCaption);
    QApplication::restoreOverrideCursor();
    setEnabled(true);
}

}  // namespace tavricat::gui
