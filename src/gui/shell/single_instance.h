#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <string>

namespace tellavin {

// Keeps the program to one running instance per user. The first instance
// listens on a local socket; a later start finds it there, asks it to come
// to the front and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(QString name);

    // The socket name for a user: one instance per user, not per machine.
    static QString NameForUser(const std::string& userName);

    // True when this process is the first instance, which now listens for
    // later starts; false when a running instance was found and told to come
    // to the front.
    bool Start();

signals:
    // A later start asked this instance to come to the front.
    void activationRequested();

private:
    bool TellRunningInstance() const;
    void AcceptStart();

    QString name_;
    QLocalServer server_;
};

} // namespace tellavin
