#pragma once
// The menu "项目组": the team library of the workbench. Creating a library (a file on a shared
// folder, or a PostgreSQL server's address), logging in and connecting, synchronising now
// (Ctrl+F1), taking all or the approved records, disconnecting, and the member management of
// the super user. The dialogs are in team_dialogs.h; the work is the core's (app/team_library.h).

#include <QObject>

#include <optional>
#include <string>

#include "app/team_library.h"

class QAction;
class QMenu;

namespace tavricat {
class Workbench;
}

namespace tavricat::gui {

class MainWindow;

class TeamMenu : public QObject {
    Q_OBJECT
public:
    TeamMenu(MainWindow& window, Workbench& bench);

    QMenu* menu() const { return m_menu; }

    // "新建共享库...", "选择共享库...", "设定用户权限...": the dialogs, then the core's commands.
    void createLibrary();
    void chooseLibrary();
    void manageMembers();
    // The login with its answers given (what chooseLibrary does after its dialogs).
    bool connectTo(const TeamLogin& login);
    // "立即更新共享库", "选用共享库中的全部内容" / "选用共享库中经校验的内容", "断开与共享库的连接".
    void synchronise();
    void take(bool approvedOnly);
    void disconnectLibrary();

private:
    QAction* add(const char* name, const QString& caption, void (TeamMenu::*slot)());
    void setConnected(bool connected);
    // The library's place: a .db file chosen in the file dialog or a typed server address.
    std::optional<std::string> chooseLocation(bool creating);

    MainWindow& m_window;
    Workbench& m_bench;
    QMenu* m_menu = nullptr;
    QAction* m_members = nullptr;
    QAction* m_sync = nullptr;
    QAction* m_takeApproved = nullptr;
    QAction* m_takeAll = nullptr;
    QAction* m_disconnect = nullptr;
};

}  // namespace tavricat::gui
