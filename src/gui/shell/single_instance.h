#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <string>

namespace tellavin {

// Keeps the program to one running instance per user and display (desktop
// session). The first instance listens on a local socket; a later start on
// the same display finds it there, asks it to come to the front and ends. A
// start on another display, where that window could not be seen, runs on.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(QString name);

    // The socket name for a user on a display: one instance per user and
    // display, not per machine.
    static QString NameFor(const std::string& userName, const QString& display);
    // The display this process shows its windows on, as the environment
    // names it: the Wayland display, else the X display; empty where there
    // is neither.
    static QString CurrentDisplay();

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
