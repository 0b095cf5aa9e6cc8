#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QStringList>

#include <memory>

class QTcpServer;

// An HTTP/1.1 server on 127.0.0.1 for tests of the update check: it runs in
// the test's own event loop, answers one request per connection and can be
// told to misbehave (stall, close early, trickle) the ways real servers do.
class UpdateTestServer : public QObject
{
    Q_OBJECT

public:
    enum class Mode
    {
        Https,          // certificate signed by the test CA (caCertificates())
        HttpsUntrusted, // self-signed certificate the test CA never signed
        Http,
    };
    Q_ENUM(Mode)

    struct Route
    {
        int status = 200;
        QByteArray body;
        // false: no Content-Length; the body ends when the server closes.
        bool sendContentLength = true;
        // -1: never stall; 0: read the request but never answer; N > 0: send
        // the headers and the first N body bytes, then hold the connection
        // open without sending more.
        qint64 stallAfterBytes = -1;
        // > 0: the body goes out in pieces of this size, with chunkDelayMs
        // between them, to make slow transfers.
        int chunkBytes = 0;
        int chunkDelayMs = 0;
        QByteArray contentType = "application/octet-stream";
    };

    explicit UpdateTestServer(Mode mode = Mode::Https, QObject* parent = nullptr);
    ~UpdateTestServer() override;

    // Listens on a free port of 127.0.0.1; false with errorString() when it
    // cannot (no openssl to make certificates, no port).
    bool start();
    // Closes the listener and every open connection, stalled ones too.
    void stop();

    quint16 port() const { return m_port; }
    QString baseUrl() const; // "https://127.0.0.1:PORT" or "http://127.0.0.1:PORT"
    QString errorString() const { return m_error; }

    // A request whose target is not a route exactly is matched on its path
    // without the query; anything else gets 404.
    void setRoute(const QString& path, const Route& route);

    // What clients asked for, in arrival order: the request target as sent.
    QStringList requestedPaths() const { return m_paths; }
    int requestCount(const QString& path) const { return int(m_paths.count(path)); }
    // QDateTime::currentMSecsSinceEpoch() when each request line was complete.
    QList<qint64> requestTimesMs() const { return m_times; }
    // Each request's request line and header lines, without the blank line.
    QList<QByteArray> requestHeaders() const { return m_headers; }

    // The CA a client must trust (and trust alone) to accept Mode::Https.
    // The certificates are made once per process; empty when openssl fails.
    static QList<QSslCertificate> caCertificates();

signals:
    void requestReceived(const QString& path);

private:
    class Connection;

    void accept();
    void recordRequest(const QString& target, qint64 lineTimeMs, const QByteArray& header);
    Route routeFor(const QString& target) const;

    Mode m_mode;
    std::unique_ptr<QTcpServer> m_listener;
    quint16 m_port = 0;
    QString m_error;
    QHash<QString, Route> m_routes;
    QStringList m_paths;
    QList<qint64> m_times;
    QList<QByteArray> m_headers;
};
