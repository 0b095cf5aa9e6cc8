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

// Single running copy per user. Returns the held lock (kept for the life of
// the process) or nullptr when another copy already holds it. A lock left by
// a crashed copy is taken over.
class SingleInstance
{
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is the first copy.
    bool acquire();
    static QString lockFilePath();

private:
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

// Ends this user's stray processes with the given executable base name and
// waits at most timeoutMs for that.
void KillProcessesNamed(const QString& baseName, int timeoutMs);

// Starts a downloaded installer detached. Result numbers follow the Windows
// shell: 2 missing file, 11 not executable or wrong format, 33 started.
int StartInstaller(const QString& filePath);

// Under Wayland the preview player needs an X11 window id: run through
// XWayland unless the user chose a platform.
void PreferX11Platform();

} // namespace Platform
