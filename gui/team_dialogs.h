#pragma once
// The dialogs of the team library: where the library is ("共享库"), the login ("登录"), the
// super user of a new library ("超级用户设定") and the member management ("用户管理").

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "app/team_library.h"
#include "team/shared_store.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace tavricat {
class Dialogs;
}

namespace tavricat::gui {

// A library file chosen with the file dialog, or a postgresql:// address typed beside it.
class LocationDialog : public QDialog {
    Q_OBJECT
public:
    LocationDialog(const QString& title, const QString& fileFilter, bool creating, const QString& start, QWidget* parent);
    std::string location() const;  // native path or URL

private:
    QLineEdit* m_location;
};

// "登录": the name (offering user.log's names), the password and the two traffic boxes.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(const std::vector<std::string>& names, int shareMode, QWidget* parent);
    TeamLogin login(const std::string& location) const;  // name in GBK, password UTF-8

private:
    QComboBox* m_name;
    QLineEdit* m_password;
    QCheckBox* m_send;
    QCheckBox* m_receive;
};

// "超级用户设定": name, password and its confirmation, which must agree and not be empty.
class SuperUserDialog : public QDialog {
    Q_OBJECT
public:
    SuperUserDialog(Dialogs& dialogs, QWidget* parent);
    std::string name() const;      // GBK
    std::string password() const;  // UTF-8
    void accept() override;

private:
    Dialogs& m_dialogs;
    QLineEdit* m_name;
    QLineEdit* m_password;
    QLineEdit* m_confirm;
};

// "用户管理": the members of the library, changed through the super user's connection. A
// password is never shown: an empty one keeps a member's password.
class MemberDialog : public QDialog {
    Q_OBJECT
public:
    MemberDialog(team::SharedStore& store, Dialogs& dialogs, QWidget* parent);

private:
    void reload();
    void select(int row);
    void confirm();
    void remove();

    team::SharedStore& m_store;
    Dialogs& m_dialogs;
    std::vector<team::Member> m_members;
    QListWidget* m_list;
    QLineEdit* m_name;
    QLineEdit* m_password;
    QButtonGroup* m_rights;
};

}  // namespace tavricat::gui
