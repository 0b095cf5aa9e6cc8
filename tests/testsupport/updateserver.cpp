#include "updateserver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

namespace {

// Measured with curl on a 50 MB body: topping the socket up by 1 MB whenever
// less than 1 MB waits is about three times faster over TLS than handing it
// the whole body at once (which also holds it twice, plain and encrypted),
// and as fast as any other size tried.
constexpr qint64 kPieceBytes = 1024 * 1024;
constexpr qint64 kHighWaterBytes = 1024 * 1024;
constexpr int kMaxHeaderBytes = 64 * 1024;

// PEM texts rather than QSslCertificate/QSslKey: these live until the
// process ends, after the TLS backend may already be gone.
struct Pems
{
    QByteArray ca;
    QByteArray serverCert;
    QByteArray serverKey;
    QByteArray otherCert; // self-signed, unknown to the CA
    QByteArray otherKey;
    QString error;
};

// One file serves req (its [req] part) and x509 -extfile, so nothing depends
// on the system's openssl.cnf.
const char kOpensslConfig[] = R"([req]
distinguished_name = dn
prompt = no

[dn]
CN = Splicora Test

[ca_ext]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash

[server_ext]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = IP:127.0.0.1, DNS:localhost
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
)";

bool RunOpenssl(const QString& openssl, const QString& dir, const QStringList& args, QString* error)
{
    QProcess process;
    process.setWorkingDirectory(dir);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(openssl, args);
    const bool finished = process.waitForFinished(60000);
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    *error = QStringLiteral("openssl %1 failed: %2")
                 .arg(args.join(QLatin1Char(' ')),
                      finished ? QString::fromLocal8Bit(process.readAll()).trimmed()
                               : process.errorString());
    return false;
}

Pems MakePems()
{
    Pems pems;
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty()) {
        pems.error = QStringLiteral("the openssl tool (Debian package openssl) is not on the "
                                    "PATH; the test certificates are made with it");
        return pems;
    }
    QTemporaryDir dir;
    if (!dir.isValid()) {
        pems.error = QStringLiteral("no temporary folder for the test certificates: %1")
                         .arg(dir.errorString());
        return pems;
    }
    {
        QFile config(dir.filePath(QStringLiteral("openssl.cnf")));
        if (!config.open(QIODevice::WriteOnly) || config.write(kOpensslConfig) < 0) {
            pems.error = QStringLiteral("cannot write %1").arg(config.fileName());
            return pems;
        }
    }
    // Three days, so a run that crosses midnight or a clock a little behind
    // still finds them valid. The untrusted certificate carries the same
    // names as the trusted one, so trust is the only thing a client can
    // object to.
    const QString newKey = QStringLiteral(
        "-newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -sha256 -config openssl.cnf");
    const QStringList steps{
        QStringLiteral("req -x509 %1 -days 3 -extensions ca_ext -subj /CN=SplicoraTestCA "
                       "-keyout ca.key -out ca.crt")
            .arg(newKey),
        QStringLiteral("req -new %1 -subj /CN=127.0.0.1 -keyout server.key -out server.csr")
            .arg(newKey),
        QStringLiteral("x509 -req -in server.csr -CA ca.crt -CAkey ca.key -set_serial 2 -sha256 "
                       "-days 3 -extfile openssl.cnf -extensions server_ext -out server.crt"),
        QStringLiteral("req -x509 %1 -days 3 -extensions server_ext -subj /CN=127.0.0.1 "
                       "-keyout other.key -out other.crt")
            .arg(newKey),
    };
    for (const QString& step : steps) {
        if (!RunOpenssl(openssl, dir.path(), step.split(QLatin1Char(' ')), &pems.error))
            return pems;
    }
    const auto read = [&dir](const QString& name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    pems.ca = read(QStringLiteral("ca.crt"));
    pems.serverCert = read(QStringLiteral("server.crt"));
    pems.serverKey = read(QStringLiteral("server.key"));
    pems.otherCert = read(QStringLiteral("other.crt"));
    pems.otherKey = read(QStringLiteral("other.key"));
    if (pems.ca.isEmpty() || pems.serverCert.isEmpty() || pems.serverKey.isEmpty() ||
        pems.otherCert.isEmpty() || pems.otherKey.isEmpty())
        pems.error = QStringLiteral("openssl left a certificate or key empty");
    return pems;
}

const Pems& Material()
{
    static const Pems pems = MakePems();
    return pems;
}

QByteArray ReasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 304:
        return "Not Modified";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

} // namespace

// One client connection: reads one request, sends one answer, then closes
// (or, when told to stall, holds the connection until the client or stop()
// ends it).
class UpdateTestServer::Connection : public QObject
{
public:
    Connection(UpdateTestServer* server, QTcpSocket* socket)
        : QObject(server), m_server(server), m_socket(socket),
          m_ssl(qobject_cast<QSslSocket*>(socket))
    {
        m_socket->setParent(this);
        m_pace.setSingleShot(true);
        connect(&m_pace, &QTimer::timeout, this, &Connection::sendBody);
        connect(m_socket, &QIODevice::readyRead, this, &Connection::readRequest);
        connect(m_socket, &QIODevice::bytesWritten, this, &Connection::sendBody);
        if (m_ssl)
            connect(m_ssl, &QSslSocket::encryptedBytesWritten, this, &Connection::sendBody);
        connect(m_socket, &QAbstractSocket::disconnected, this, &Connection::end);
        connect(m_socket, &QAbstractSocket::errorOccurred, this, &Connection::end);
        // Bytes may have come with the handshake, before anyone listened.
        if (m_socket->bytesAvailable() > 0)
            QTimer::singleShot(0, this, &Connection::readRequest);
    }

    // Closes at once; memory goes back once the socket's signals are done.
    void end()
    {
        if (m_ended)
            return;
        m_ended = true;
        m_pace.stop();
        m_socket->abort();
        deleteLater();
    }

private:
    void readRequest()
    {
        if (m_ended)
            return;
        if (m_answering) {
            m_socket->readAll(); // a request body: one request is all we serve
            return;
        }
        m_in += m_socket->readAll();
        if (m_lineTimeMs < 0 && m_in.contains('\n'))
            m_lineTimeMs = QDateTime::currentMSecsSinceEpoch();
        const qsizetype headerEnd = m_in.indexOf("\r\n\r\n");
        if (headerEnd < 0) {
            if (m_in.size() > kMaxHeaderBytes)
                answerBadRequest();
            return;
        }
        m_answering = true;
        const QByteArray header = m_in.left(headerEnd);
        m_in.clear();
        const QList<QByteArray> parts = header.left(header.indexOf("\r\n")).split(' ');
        if (parts.size() != 3 || !parts[2].startsWith("HTTP/1.")) {
            answerBadRequest();
            return;
        }
        const QString target = QString::fromLatin1(parts[1]);
        const QPointer<Connection> alive(this);
        m_server->recordRequest(target, m_lineTimeMs, header);
        // A test may stop the server from its requestReceived slot.
        if (!alive || m_ended)
            return;
        answer(m_server->routeFor(target), parts[0] == "HEAD");
    }

    void answerBadRequest()
    {
        m_answering = true;
        Route route;
        route.status = 400;
        route.body = "bad request\n";
        route.contentType = "text/plain";
        answer(route, false);
    }

    void answer(const Route& route, bool headOnly)
    {
        if (route.stallAfterBytes == 0) {
            m_holdOpen = true;
            return;
        }
        QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) + ' ' +
                          ReasonPhrase(route.status) + "\r\nContent-Type: " + route.contentType +
                          "\r\n";
        if (route.sendContentLength)
            head += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
        head += "Connection: close\r\n\r\n";
        m_socket->write(head);

        m_body = route.body;
        m_end = headOnly ? 0 : m_body.size();
        if (route.stallAfterBytes > 0) {
            m_end = std::min(m_end, route.stallAfterBytes);
            m_holdOpen = true;
        }
        if (route.chunkBytes > 0)
            m_pieceBytes = route.chunkBytes;
        m_delayMs = route.chunkBytes > 0 ? route.chunkDelayMs : 0;
        sendBody();
    }

    qint64 unsentBytes() const
    {
        return m_socket->bytesToWrite() + (m_ssl ? m_ssl->encryptedBytesToWrite() : 0);
    }

    // Feeds the socket as it drains rather than handing it the whole body:
    // the event loop stays free and only about a megabyte waits in buffers.
    void sendBody()
    {
        if (m_ended || !m_answering || m_done)
            return;
        if (m_delayMs > 0) {
            if (m_pace.isActive())
                return;
            if (m_sent < m_end)
                writePiece();
            if (m_sent < m_end) {
                m_pace.start(m_delayMs);
                return;
            }
        } else {
            while (m_sent < m_end && unsentBytes() < kHighWaterBytes)
                writePiece();
            if (m_sent < m_end)
                return;
        }
        m_done = true;
        // Without Content-Length the close is what ends the body; with it,
        // "Connection: close" promised the same.
        if (!m_holdOpen)
            m_socket->disconnectFromHost();
    }

    void writePiece()
    {
        const qint64 length = std::min(m_pieceBytes, m_end - m_sent);
        m_socket->write(m_body.constData() + m_sent, length);
        m_sent += length;
    }

    UpdateTestServer* m_server;
    QTcpSocket* m_socket;
    QSslSocket* m_ssl;
    QTimer m_pace;
    QByteArray m_in;
    qint64 m_lineTimeMs = -1;
    QByteArray m_body;
    qint64 m_sent = 0;
    qint64 m_end = 0;
    qint64 m_pieceBytes = kPieceBytes;
    int m_delayMs = 0;
    bool m_answering = false;
    bool m_holdOpen = false;
    bool m_done = false;
    bool m_ended = false;
};

UpdateTestServer::UpdateTestServer(Mode mode, QObject* parent) : QObject(parent), m_mode(mode) {}

UpdateTestServer::~UpdateTestServer()
{
    stop();
}

QList<QSslCertificate> UpdateTestServer::caCertificates()
{
    return QSslCertificate::fromData(Material().ca, QSsl::Pem);
}

bool UpdateTestServer::start()
{
    stop();
    m_error.clear();
    if (m_mode == Mode::Http) {
        m_listener = std::make_unique<QTcpServer>();
    } else {
        if (!QSslSocket::supportsSsl()) {
            m_error = QStringLiteral("Qt has no TLS backend here");
            return false;
        }
        const Pems& pems = Material();
        if (!pems.error.isEmpty()) {
            m_error = pems.error;
            return false;
        }
        const bool trusted = m_mode == Mode::Https;
        const QSslKey key(trusted ? pems.serverKey : pems.otherKey, QSsl::Ec, QSsl::Pem);
        const QSslCertificate certificate(trusted ? pems.serverCert : pems.otherCert, QSsl::Pem);
        if (key.isNull() || certificate.isNull()) {
            m_error = QStringLiteral("Qt cannot read the certificate or key openssl made");
            return false;
        }
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(certificate);
        configuration.setPrivateKey(key);
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        configuration.setProtocol(QSsl::TlsV1_2OrLater);
        auto sslServer = std::make_unique<QSslServer>();
        sslServer->setSslConfiguration(configuration);
        m_listener = std::move(sslServer);
    }
    // An SSL server offers a socket only once its handshake is done.
    connect(m_listener.get(), &QTcpServer::pendingConnectionAvailable, this,
            &UpdateTestServer::accept);
    if (!m_listener->listen(QHostAddress::LocalHost, 0)) {
        m_error = QStringLiteral("cannot listen on 127.0.0.1: %1").arg(m_listener->errorString());
        m_listener.reset();
        return false;
    }
    m_port = m_listener->serverPort();
    return true;
}

void UpdateTestServer::stop()
{
    // Sockets still in their handshake belong to the listener and go with it.
    m_listener.reset();
    const QList<Connection*> connections = findChildren<Connection*>(Qt::FindDirectChildrenOnly);
    for (Connection* connection : connections)
        connection->end();
}

QString UpdateTestServer::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(m_mode == Mode::Http ? QStringLiteral("http") : QStringLiteral("https"))
        .arg(m_port);
}

void UpdateTestServer::setRoute(const QString& path, const Route& route)
{
    m_routes.insert(path, route);
}

void UpdateTestServer::accept()
{
    while (m_listener && m_listener->hasPendingConnections()) {
        if (QTcpSocket* socket = m_listener->nextPendingConnection())
            new Connection(this, socket); // owned by this, freed when it ends
    }
}

void UpdateTestServer::recordRequest(const QString& target, qint64 lineTimeMs,
                                     const QByteArray& header)
{
    m_paths.append(target);
    m_times.append(lineTimeMs);
    m_headers.append(header);
    emit requestReceived(target);
}

UpdateTestServer::Route UpdateTestServer::routeFor(const QString& target) const
{
    auto found = m_routes.constFind(target);
    if (found == m_routes.constEnd())
        found = m_routes.constFind(target.section(QLatin1Char('?'), 0, 0));
    if (found != m_routes.constEnd())
        return *found;
    Route notFound;
    notFound.status = 404;
    notFound.body = "not found\n";
    notFound.contentType = "text/plain";
    return notFound;
}
