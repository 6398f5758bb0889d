#include "help_browser.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/workbench.h"
#include "text_convert.h"

namespace tavricat::gui {

HelpBrowser::HelpBrowser(QWidget* parent) : QDialog(parent), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("帮助"));
    setModal(false);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_browser);
    resize(640, 520);
}

bool HelpBrowser::showPage(const QString& folder, const QString& file) {
    const QString path = QDir(folder).filePath(file);
    if (!QFileInfo::exists(path)) return false;
    m_browser->setSearchPaths({folder});
    m_browser->setSource(QUrl::fromLocalFile(path));
    setWindowTitle(QStringLiteral("帮助 - ") + m_browser->documentTitle());
    return true;
}

void openHelp(Workbench& bench, QWidget* parent, const QString& topic) {
    // One browser per window, kept between pages.
    QWidget* owner = parent ? parent->window() : nullptr;
    auto* help = owner ? owner->findChild<HelpBrowser*>(QStringLiteral("helpWindow"), Qt::FindDirectChildrenOnly) : nullptr;
    if (!help) help = new HelpBrowser(owner);
    const QString folder = QDir(fromNativePath(bench.workspace().programFolder())).filePath(QStringLiteral("help"));
    if (!help->showPage(folder, topic)) {
        bench.dialogs().message(toGbkLossy(QStringLiteral("找不到帮助页面：%1").arg(QDir(folder).filePath(topic))));
        return;
    }
    help->show();
    help->raise();
}

}  // namespace tavricat::gui
