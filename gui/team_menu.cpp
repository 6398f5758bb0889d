#include "team_menu.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/workbench.h"
#include "base/line_list.h"
#include "busy_cursor.h"
#include "main_window.h"
#include "team_dialogs.h"
#include "text_convert.h"

namespace tavricat::gui {

TeamMenu::TeamMenu(MainWindow& window, Workbench& bench) : QObject(&window), m_window(window), m_bench(bench) {
    m_menu = window.menuBar()->addMenu(QStringLiteral("项目组"));
    m_menu->setObjectName(QStringLiteral("mnuTeam"));
    add("mnuMakeShareLib", QStringLiteral("新建共享库..."), &TeamMenu::createLibrary);
    m_members = add("mnuUserSetting", QStringLiteral("设定用户权限..."), &TeamMenu::manageMembers);
    m_menu->addSeparator();
    add("mnuSelectShareLib", QStringLiteral("选择共享库..."), &TeamMenu::chooseLibrary);
    m_sync = add("mnuUpdateShareLib", QStringLiteral("立即更新共享库"), &TeamMenu::synchronise);
    m_sync->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    m_takeApproved = add("mnuTakeChecked", QStringLiteral("选用共享库中经校验的内容"), nullptr);
    connect(m_takeApproved, &QAction::triggered, this, [this] { take(true); });
    m_takeAll = add("mnuTakeAll", QStringLiteral("选用共享库中的全部内容"), nullptr);
    connect(m_takeAll, &QAction::triggered, this, [this] { take(false); });
    m_menu->addSeparator();
    m_disconnect = add("mnuDisconnect", QStringLiteral("断开与共享库的连接"), &TeamMenu::disconnectLibrary);
    if (QToolBar* tools = window.toolBar()) {
        QAction* button = tools->addAction(QStringLiteral("更新"), this, &TeamMenu::synchronise);
        button->setToolTip(QStringLiteral("立即更新"));
        button->setObjectName(QStringLiteral("btUpdateShareLib"));
        connect(m_sync, &QAction::changed, button, [this, button] { button->setEnabled(m_sync->isEnabled()); });
    }
    setConnected(false);
}

QAction* TeamMenu::add(const char* name, const QString& caption, void (TeamMenu::*slot)()) {
    QAction* action = m_menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (slot) connect(action, &QAction::triggered, this, slot);
    return action;
}

void TeamMenu::setConnected(bool connected) {
    for (QAction* action : {m_members, m_sync, m_takeApproved, m_takeAll, m_disconnect}) action->setEnabled(connected);
    m_window.refreshFrame();
}

std::optional<std::string> TeamMenu::chooseLocation(bool creating) {
    LocationDialog dialog(creating ? QStringLiteral("新建共享库") : QStringLiteral("打开共享库"),
                          creating ? QStringLiteral("Tavri共享库 (*.db)") : QStringLiteral("共享库文件 (*.db)"), creating,
                          QString::fromStdString(m_bench.settings.curShareLibName), &m_window);
    if (dialog.exec() != QDialog::Accepted || dialog.location().empty()) return std::nullopt;
    return dialog.location();
}

void TeamMenu::createLibrary() {
    std::optional<std::string> location = chooseLocation(true);
    if (!location) return;
    if (!team::isServerLocation(*location) && location->find(".db") == std::string::npos) *location += ".db";
    SuperUserDialog superUser(m_bench.dialogs(), &m_window);
    if (superUser.exec() != QDialog::Accepted) return;
    BusyCursor busy;
    (void)createTeamLibrary(m_bench, *location, superUser.name(), superUser.password());  // told either way
}

void TeamMenu::chooseLibrary() {
    std::optional<std::string> location = chooseLocation(false);
    if (!location) return;
    LineList names;
    if (Result<LineList> read = loadLines(m_bench.fs(), m_bench.workspace().programFile("user.log"))) names = *read;
    LoginDialog dialog(names, m_bench.settings.shareMode, &m_window);
    // A wrong name or password is told and the dialog stays.
    while (dialog.exec() == QDialog::Accepted)
        if (connectTo(dialog.login(*location))) return;
}

bool TeamMenu::connectTo(const TeamLogin& login) {
    Status connected;
    {
        BusyCursor busy;
        connected = connectTeamLibrary(m_bench, login);
    }
    // A login that failed leaves the connection as it was; one that succeeded but whose
    // first synchronisation failed is connected (the failure was told).
    setConnected(m_bench.team.connected());
    return m_bench.team.connected() && (connected || connected.message() != team::kWrongUserOrPassword);
}

void TeamMenu::manageMembers() {
    auto ask = [this]() -> std::optional<std::string> {
        bool ok = false;
        const QString password = QInputDialog::getText(&m_window, QStringLiteral("口令"), QStringLiteral("请输入超级用户口令"),
                                                       QLineEdit::Password, {}, &ok);
        if (!ok) return std::nullopt;
        return password.toStdString();
    };
    Result<std::unique_ptr<team::SharedStore>> admin = openMemberManagement(m_bench, m_bench.settings.curShareLibName, ask);
    if (!admin) return;  // told, or cancelled
    MemberDialog dialog(**admin, m_bench.dialogs(), &m_window);
    dialog.exec();
}

void TeamMenu::synchronise() {
    BusyCursor busy;
    (void)synchroniseTeamLibrary(m_bench);  // a failure was told; the queue stays
    m_window.refreshFrame();
}

void TeamMenu::take(bool approvedOnly) {
    BusyCursor busy;
    (void)takeTeamLibrary(m_bench, approvedOnly);
    m_window.refreshFrame();
}

void TeamMenu::disconnectLibrary() {
    disconnectTeamLibrary(m_bench);
    setConnected(false);
}

}  // namespace tavricat::gui
