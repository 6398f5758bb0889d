#include "team_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/gbk.h"
#include "base/ports.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

QDialogButtonBox* okCancel(QDialog* dialog, const QString& ok, const QString& cancel) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("okButton"));
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QLineEdit* secretField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setEchoMode(QLineEdit::Password);
    return field;
}

}  // namespace

LocationDialog::LocationDialog(const QString& title, const QString& fileFilter, bool creating, const QString& start,
                               QWidget* parent)
    : QDialog(parent), m_location(new QLineEdit(start, this)) {
    setWindowTitle(title);
    setObjectName(QStringLiteral("teamLocation"));
    m_location->setObjectName(QStringLiteral("location"));
    m_location->setMinimumWidth(420);
    auto* browse = new QPushButton(QStringLiteral("浏览..."), this);
    connect(browse, &QPushButton::clicked, this, [this, title, fileFilter, creating] {
        const QString chosen = creating ? QFileDialog::getSaveFileName(this, title, m_location->text(), fileFilter)
                                        : QFileDialog::getOpenFileName(this, title, m_location->text(), fileFilter);
        if (!chosen.isEmpty()) m_location->setText(chosen);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(m_location, 1);
    row->addWidget(browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("共享库文件(*.db)，或服务器地址 postgresql://主机/数据库?library=库名"), this));
    layout->addLayout(row);
    layout->addWidget(okCancel(this, QStringLiteral("确 定"), QStringLiteral("取 消")));
}

std::string LocationDialog::location() const { return m_location->text().trimmed().toStdString(); }

LoginDialog::LoginDialog(const std::vector<std::string>& names, int shareMode, QWidget* parent)
    : QDialog(parent),
      m_name(new QComboBox(this)),
      m_password(secretField(this, "password")),
      m_send(new QCheckBox(QStringLiteral("允许我的工作发送到共享库中"), this)),
      m_receive(new QCheckBox(QStringLiteral("允许共享库中的内容进入我的系统"), this)) {
    setWindowTitle(QStringLiteral("登录"));
    setObjectName(QStringLiteral("log"));
    m_name->setObjectName(QStringLiteral("userName"));
    m_name->setEditable(true);
    for (const std::string& name : names) m_name->addItem(fromGbk(name));
    m_send->setChecked(shareMode == 1 || shareMode == 3);
    m_receive->setChecked(shareMode == 1 || shareMode == 2);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("用户名"), m_name);
    form->addRow(QStringLiteral("口  令"), m_password);
    form->addRow(m_send);
    form->addRow(m_receive);
    form->addRow(okCancel(this, QStringLiteral("确 定"), QStringLiteral("取 消")));
}

TeamLogin LoginDialog::login(const std::string& location) const {
    return {location, toGbkLossy(m_name->currentText()), m_password->text().toStdString(), m_send->isChecked(),
            m_receive->isChecked()};
}

SuperUserDialog::SuperUserDialog(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      m_dialogs(dialogs),
      m_name(new QLineEdit(this)),
      m_password(secretField(this, "password")),
      m_confirm(secretField(this, "confirm")) {
    setWindowTitle(QStringLiteral("超级用户设定"));
    setObjectName(QStringLiteral("PasswordDlg1"));
    m_name->setObjectName(QStringLiteral("name"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("用 户 名"), m_name);
    form->addRow(QStringLiteral("口    令"), m_password);
    form->addRow(QStringLiteral("确认口令"), m_confirm);
    form->addRow(okCancel(this, QStringLiteral("确  定"), QStringLiteral("取  消")));
}

std::string SuperUserDialog::name() const { return toGbkLossy(m_name->text().trimmed()); }
std::string SuperUserDialog::password() const { return m_password->text().toStdString(); }

void SuperUserDialog::accept() {
    if (m_name->text().trimmed().isEmpty() || m_password->text().isEmpty() || m_password->text() != m_confirm->text()) {
        m_dialogs.message("用户名不能为空且必须确认口令并保持一致！");
        return;
    }
    QDialog::accept();
}

MemberDialog::MemberDialog(team::SharedStore& store, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      m_store(store),
      m_dialogs(dialogs),
      m_list(new QListWidget(this)),
      m_name(new QLineEdit(this)),
      m_password(secretField(this, "password")),
      m_rights(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("用户管理"));
    setObjectName(QStringLiteral("userSetting"));
    m_list->setObjectName(QStringLiteral("userList"));
    m_name->setObjectName(QStringLiteral("name"));
    m_password->setPlaceholderText(QStringLiteral("不改变口令时留空"));
    auto* rights = new QHBoxLayout;
    for (team::Right right : {team::Right::ReadOnly, team::Right::ReadWrite, team::Right::Reviser}) {
        auto* button = new QRadioButton(fromGbk(team::captionOf(right)), this);
        m_rights->addButton(button, static_cast<int>(right));
        rights->addWidget(button);
    }
    m_rights->button(static_cast<int>(team::Right::ReadWrite))->setChecked(true);
    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const QString& caption, const char* name, auto slot) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    button(QStringLiteral("新 增"), "addButton", [this] {
        m_name->clear();
        m_password->clear();
        m_name->setFocus();
    });
    button(QStringLiteral("确 认"), "confirmButton", [this] { confirm(); });
    button(QStringLiteral("删 除"), "deleteButton", [this] { remove(); });
    button(QStringLiteral("退 出"), "closeButton", [this] { accept(); });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用户名"), m_name);
    form->addRow(QStringLiteral("口  令"), m_password);
    form->addRow(rights);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("用户列表"), this));
    left->addWidget(m_list);
    layout->addLayout(left);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addLayout(buttons);
    layout->addLayout(right);
    connect(m_list, &QListWidget::currentRowChanged, this, &MemberDialog::select);
    reload();
}

void MemberDialog::reload() {
    Result<std::vector<team::Member>> members = m_store.members();
    if (!members) {
        m_dialogs.message(members.status().message());
        return;
    }
    m_members = std::move(*members);
    m_list->clear();
    for (const team::Member& member : m_members) m_list->addItem(fromGbk(member.name));
}

void MemberDialog::select(int row) {
    if (row < 0 || row >= static_cast<int>(m_members.size())) return;
    m_name->setText(fromGbk(m_members[static_cast<std::size_t>(row)].name));
    m_password->clear();  // passwords are kept as hashes: there is none to show
    m_rights->button(static_cast<int>(m_members[static_cast<std::size_t>(row)].right))->setChecked(true);
}

void MemberDialog::confirm() {
    const std::string name = toGbkLossy(m_name->text().trimmed());
    if (name.empty()) {
        m_name->clear();
        m_password->clear();
        m_dialogs.beep();
        return;
    }
    const auto right = static_cast<team::Right>(m_rights->checkedId());
    if (Status set = m_store.setMember(name, m_password->text().toStdString(), right); !set) {
        m_dialogs.message(set.message());
        return;
    }
    m_name->clear();
    m_password->clear();
    reload();
}

void MemberDialog::remove() {
    const std::string name = toGbkLossy(m_name->text().trimmed());
    if (name.empty()) {
        m_name->clear();
        m_password->clear();
        m_name->setFocus();
        m_dialogs.beep();
        return;
    }
    if (Status removed = m_store.removeMember(name); !removed) {
        m_dialogs.message(removed.message());
        return;
    }
    m_name->clear();
    m_password->clear();
    reload();
}

}  // namespace tavricat::gui
