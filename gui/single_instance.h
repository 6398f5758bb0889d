#pragma once
// One running instance per user: the first start listens on a local socket named for the
// user; a later start asks it to come to the front and ends.

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace tavricat::gui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // True when another instance answered (and was asked to come to the front).
    bool askRunningInstance();
    // Starts listening; `raise` runs whenever a later start knocks.
    bool listen(std::function<void()> raise);

    static QString nameForCurrentUser();

private:
    QString m_name;
    QLocalServer* m_server = nullptr;
    std::function<void()> m_raise;
};

}  // namespace tavricat::gui
