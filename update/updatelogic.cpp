#include "update/updatelogic.h"

#include <QCryptographicHash>
#include <QFile>

#include <limits>

#ifndef SPLICORA_UPDATE_SITE_MAIN
#define SPLICORA_UPDATE_SITE_MAIN ""
#endif
#ifndef SPLICORA_UPDATE_SITE_SECOND
#define SPLICORA_UPDATE_SITE_SECOND ""
#endif
#ifndef SPLICORA_SELF_UPDATE
#define SPLICORA_SELF_UPDATE 1
#endif

namespace {

constexpr const char* kManifestPath = "/upgrade/klemvasti_check_update.xml";
constexpr qint64 kAssumedTotal = 20 * 1024 * 1024;
constexpr qint64 kGrowth = 2 * 1024 * 1024;

QStringList* g_testAddresses = nullptr;
std::function<QDate()> g_today;

QString Digest(const QString& path, QCryptographicHash::Algorithm algorithm)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(algorithm);
    if (!hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex()).toUpper();
}

} // namespace

QString UpdatePlatformName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("windows");
#else
    return QStringLiteral("linux");
#endif
}

QStringList ManifestAddresses()
{
    if (g_testAddresses)
        return *g_testAddresses;
    QStringList addresses;
    for (const char* site : {SPLICORA_UPDATE_SITE_MAIN, SPLICORA_UPDATE_SITE_SECOND}) {
        QString base = QString::fromUtf8(site).trimmed();
        while (base.endsWith(QLatin1Char('/')))
            base.chop(1);
        if (!base.isEmpty())
            addresses << base + QLatin1String(kManifestPath);
    }
    return addresses;
}

void SetManifestAddressesForTest(const QStringList& addresses)
{
    static QStringList stored;
    stored = addresses;
    g_testAddresses = &stored;
}

bool IsSecureUrl(const QUrl& url)
{
    return url.isValid() && url.scheme() == QLatin1String("https") && !url.host().isEmpty();
}

bool SelfUpdateEnabled()
{
    return SPLICORA_SELF_UPDATE != 0;
}

QString InstallerFileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("update.exe");
#else
    return QStringLiteral("update.run");
#endif
}

int DownloadSourceIndex(int attempt, int sourceCount)
{
    if (attempt < 0)
        return -1;
    const int index = attempt / 2;
    return index < 2 && index < sourceCount ? index : -1;
}

int DownloadAttemptLimit(int sourceCount)
{
    return std::max(2, 2 * std::min(sourceCount, 2));
}

ProgressScale ScaleProgress(qint64 received, qint64 total)
{
    received = std::max<qint64>(received, 0);
    if (total <= 0)
        total = kAssumedTotal;
    if (received >= total)
        total += ((received - total) / kGrowth + 1) * kGrowth;
    // The bar counts in 32 bits; files over 2 GiB are shown in coarser steps.
    while (total > std::numeric_limits<int>::max()) {
        total >>= 1;
        received >>= 1;
    }
    return {static_cast<int>(received), static_cast<int>(total)};
}

bool DailyCheckDue(const QString& stored, const QDate& today)
{
    return QDate::fromString(stored, QStringLiteral("MM-dd-yyyy")) != today;
}

QString DailyCheckStamp(const QDate& today)
{
    return today.toString(QStringLiteral("MM-dd-yyyy"));
}

QDate UpdateToday()
{
    return g_today ? g_today() : QDate::currentDate();
}

void SetUpdateTodayForTest(std::function<QDate()> today)
{
    g_today = std::move(today);
}

QString FileMd5Upper(const QString& path)
{
    return Digest(path, QCryptographicHash::Md5);
}

QString FileSha256Upper(const QString& path)
{
    return Digest(path, QCryptographicHash::Sha256);
}

bool InstallerMatches(const QString& path, const DownloadSource& source)
{
    if (source.md5.isEmpty() && source.sha256.isEmpty())
        return false;
    if (!source.md5.isEmpty() && FileMd5Upper(path) != source.md5.toUpper())
        return false;
    return source.sha256.isEmpty() || FileSha256Upper(path) == source.sha256.toUpper();
}
