#include "update/updatenetwork.h"

#include <QSslConfiguration>

namespace {
QList<QSslCertificate>& TestAuthorities()
{
    static QList<QSslCertificate> authorities;
    return authorities;
}
} // namespace

QNetworkRequest SecureUpdateRequest(const QUrl& url, int transferTimeoutMs)
{
    QNetworkRequest request(url);
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setProtocol(QSsl::TlsV1_2OrLater);
    ssl.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (!TestAuthorities().isEmpty())
        ssl.addCaCertificates(TestAuthorities());
    request.setSslConfiguration(ssl);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    if (transferTimeoutMs > 0)
        request.setTransferTimeout(transferTimeoutMs);
    return request;
}

void TrustCertificatesForTest(const QList<QSslCertificate>& authorities)
{
    TestAuthorities() = authorities;
}
