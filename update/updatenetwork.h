#pragma once

#include <QList>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QUrl>

// A request for the update site: certificates verified against the system's
// authorities, TLS 1.2 or newer, no redirect to plain http, and a transfer
// timeout (0: none) that also ends a transfer that stalls half way.
QNetworkRequest SecureUpdateRequest(const QUrl& url, int transferTimeoutMs);

// Tests serve manifests and installers from their own server, whose
// certificate authority they add here. Nothing in the program calls it.
void TrustCertificatesForTest(const QList<QSslCertificate>& authorities);
