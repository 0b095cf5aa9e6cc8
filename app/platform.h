#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QLockFile;

// The few places where the program meets the operating system. Windows keeps
// its native calls; elsewhere each has a portable stand-in.
namespace Platform {

// Executable file name for a tool base name: "ffmpeg" -> "ffmpeg.exe" on Windows.
QString ExecutableName(const QString& baseName);

// The user's own folder for the log, the lock and the work files. Windows
// keeps them in its per-user temporary folder. Elsewhere the temporary folder
// is shared between users, so the folder is $XDG_RUNTIME_DIR/splicora, else
// $XDG_CACHE_HOME/splicora (~/.cache/splicora), made with mode 0700. A folder
// there that someone else could reach is never used: this run takes a fresh
// private temporary folder instead, kept until the process ends. The answer
// is fixed at the first call; a folder removed later is made again.
QString PrivateFolder();
// Where the private folder is looked for, before any check.
QString PreferredPrivateFolder();
// Why the preferred folder was refused for this run; empty when it is in use.
QString PrivateFolderProblem();
// Empty when `path` is a real folder (not a link) of the current user that
// no other user can enter; otherwise the reason, fit to show the user.
QString CheckPrivateFolder(const QString& path);

// Single running copy per user. Holds the lock (kept for the life of the
// process). A lock left by a crashed copy is taken over.
class SingleInstance
{
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False only when another live copy holds the lock. A lock that cannot
    // be taken for any other reason lets this copy run; problem() says why.
    bool acquire();
    QString problem() const { return m_problem; }
    static QString lockFilePath();

private:
    QString m_problem;
#ifdef Q_OS_WIN
    void* m_mutex = nullptr;
#else
    std::unique_ptr<QLockFile> m_lock;
#endif
};

// Plug-in search path: the application folder and its "plugins" folder
// first. The toolkit's own plug-in folder stays after them where the toolkit
// is installed system-wide; otherwise image formats and TLS would vanish.
void ResetLibraryPaths(const QString& appFolder);

// Where the media tool lives: the application folder's copy when there is
// one, else the one on PATH. Empty when neither exists.
QString FindTool(const QString& baseName);

// Shows a file selected in the desktop's file manager; falls back to opening
// its folder. Returns false when nothing could be opened.
bool ShowInFileManager(const QString& filePath);
bool OpenFolder(const QString& folder);

// Starts a downloaded installer detached. Result numbers follow the Windows
// shell: 2 missing file, 11 not executable or wrong format, 33 started.
int StartInstaller(const QString& filePath);

// Under Wayland the preview player needs an X11 window id: run through
// XWayland unless the user chose a platform.
void PreferX11Platform();

} // namespace Platform
