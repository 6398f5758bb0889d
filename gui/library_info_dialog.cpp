#include "library_info_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/library_creation.h"
#include "app/workbench.h"
#include "base/encoding.h"

namespace tavricat::gui {

namespace {

// The boxes' text in GBK; nullopt when a character has no GBK form, since a lossy name
// would create files under another name than the one typed.
std::optional<std::string> boxText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    Result<std::string> converted = encoding::utf8ToGbk(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (!converted) return std::nullopt;
    return *converted;
}

}  // namespace

LibraryInfoDialog::LibraryInfoDialog(Workbench& bench, QWidget* parent) : QDialog(parent), m_bench(bench) {
    setWindowTitle(QStringLiteral("库信息"));
    m_title = new QLineEdit(this);
    m_title->setPlaceholderText(QStringLiteral("给库取一个有意义的名字，如：世纪工程报告"));
    m_author = new QLineEdit(this);
    m_author->setPlaceholderText(QStringLiteral("自己的名字或公司名称"));
    m_fileName = new QLineEdit(this);
    m_fileName->setPlaceholderText(QStringLiteral("不带路径的文件名，如: MyFirstLib"));
    m_description = new QPlainTextEdit(this);
    m_description->setPlaceholderText(QStringLiteral("有关库的详细内容，如建立日期，主要内容等。"));
    m_ok = new QPushButton(QStringLiteral("确  定"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取  消"), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("标题"), m_title);
    form->addRow(QStringLiteral("作者"), m_author);
    form->addRow(QStringLiteral("文件名"), m_fileName);
    form->addRow(QStringLiteral("说明"), m_description);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &LibraryInfoDialog::onOk);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    prepare(LibraryKind::TermBase);
}

void LibraryInfoDialog::prepare(LibraryKind kind, Creator creator) {
    m_created.clear();
    if (!creator) {
        creator = [this, kind](const LibraryInfo& info) {
            Result<std::string> made = createLibraryFiles(m_bench.fs(), m_bench.workspace().userDataFolder(), kind, info);
            if (!made) m_bench.dialogs().message(made.status().message());
            return made;
        };
    }
    m_creator = std::move(creator);
    m_title->clear();
    m_author->clear();
    m_fileName->clear();
    m_description->clear();
}

std::string LibraryInfoDialog::run(LibraryKind kind, Creator creator) {
    prepare(kind, std::move(creator));
    return exec() == QDialog::Accepted ? m_created : std::string();
}

void LibraryInfoDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_title->setFocus();
}

void LibraryInfoDialog::onOk() {
    LibraryInfo info;
    std::optional<std::string> title = boxText(m_title->text()), author = boxText(m_author->text()),
                               fileName = boxText(m_fileName->text()),
                               description = boxText(m_description->toPlainText());
    if (!title || !author || !fileName || !description) {
        m_bench.dialogs().message(encoding::toGbk("库信息中有无法保存的字符，请修改。"));
        return;
    }
    info.title = *title;
    info.author = *author;
    info.fileName = *fileName;
    if (!description->empty()) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = description->find('\n', start);
            info.description.push_back(description->substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    Result<std::string> created = m_creator(info);
    if (!created) {
        // An empty or taken name: the person types another one.
        if (created.status().kind() == ErrorKind::Refused) {
            m_fileName->setFocus();
            m_fileName->selectAll();
        }
        return;
    }
    m_created = *created;
    accept();
}

}  // namespace tavricat::gui
