#pragma once

#include "update/manifest.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// The manifest's platform block this build reads: "linux" here, "windows"
// on Windows.
QString UpdatePlatformName();

// The manifest addresses, in the order they are tried: the build's main
// site, then its second site, each an https base address followed by the
// manifest's path. Empty when the build names no update site.
QStringList ManifestAddresses();
// Tests point the check at their own server.
void SetManifestAddressesForTest(const QStringList& addresses);

// Only https addresses with a host are ever fetched: a manifest or an
// installer read over plain http could be swapped by anyone on the way.
bool IsSecureUrl(const QUrl& url);

// Whether the build downloads and starts installers itself; a build for a
// distribution leaves updating to the package manager.
bool SelfUpdateEnabled();

// The installer's file name in the private work folder.
QString InstallerFileName();

// Which source an attempt downloads from: two attempts each on the first two
// sources, -1 when no source is left.
int DownloadSourceIndex(int attempt, int sourceCount);
// How many attempts are made in all before the user is told it failed.
int DownloadAttemptLimit(int sourceCount);

// The progress bar's range and value for a download. A server that sends no
// length is assumed to send 20 MiB, growing by 2 MiB whenever that is
// reached; both numbers are scaled down together to fit the bar's 32 bits.
struct ProgressScale
{
    int value = 0;
    int maximum = 0;
};
ProgressScale ScaleProgress(qint64 received, qint64 total);

// The daily automatic check: stored is the "ckfirstCheckUpdate" value
// ("MM-dd-yyyy"); anything else than today's date means a check is due.
bool DailyCheckDue(const QString& stored, const QDate& today);
QString DailyCheckStamp(const QDate& today);
// Today's date for the daily check; tests move the calendar.
QDate UpdateToday();
void SetUpdateTodayForTest(std::function<QDate()> today);

// Upper-case hexadecimal digest of a file, empty when it cannot be read.
QString FileMd5Upper(const QString& path);
QString FileSha256Upper(const QString& path);
// True only when the source names a checksum (MD5, SHA-256 or both) and the
// file matches every one named.
bool InstallerMatches(const QString& path, const DownloadSource& source);
