#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP as a Qt signal. The handler only notes the
// number and writes one byte into a socket pair; the event loop reads it
// and emits signalled(), where anything may be done. Only one channel may
// exist at a time.
class SignalChannel : public QObject
{
    Q_OBJECT

public:
    explicit SignalChannel(QObject* parent = nullptr);
    // Gives the signals back to their defaults.
    ~SignalChannel() override;

    // The first signal that arrived, 0 while none has. Safe to ask at any
    // time, also before the event loop had its turn.
    static int received();

signals:
    void signalled(int number);

private:
    QSocketNotifier* m_notifier = nullptr;
};
