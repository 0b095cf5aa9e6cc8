#include "convert/enginelibrary.h"

#include <QLibrary>

#include <memory>

namespace {

EngineFunctions g_functions;
// Kept open for the life of the process: the resolved pointers point into it.
std::unique_ptr<QLibrary> g_library;

template <typename Fn> bool Resolve(QLibrary& library, const char* name, Fn& slot)
{
    slot = reinterpret_cast<Fn>(library.resolve(name));
    if (!slot) {
        qDebug("load orvelaneMoudle error %s \n", name);
        return false;
    }
    return true;
}

} // namespace

bool EngineFunctions::complete() const
{
    return getInfo && addFile && setItemTime && delItem && convertAll && setConvertEndCallback &&
           getDuration && getCurrentTime && abort && destroy;
}

namespace EngineLibrary {

QString FileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Orvelane.dll");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("libOrvelane.dylib");
#else
    return QStringLiteral("libOrvelane.so");
#endif
}

int Load(const QString& appFolder)
{
    const QString path = appFolder + QLatin1Char('/') + FileName();
    // A second main window (tests build several) finds the library in place;
    // its functions may be running on an engine thread, so it stays loaded.
    if (g_library && g_library->fileName() == path && g_functions.complete())
        return 0;
    g_functions = EngineFunctions();
    auto library = std::make_unique<QLibrary>(path);
    if (!library->load()) {
        qDebug("load orvelaneMoudle error %s \n", qUtf8Printable(library->errorString()));
        return -1;
    }
    EngineFunctions f;
    const bool ok =
        Resolve(*library, "Orvelane_GetInfo", f.getInfo) &&
        Resolve(*library, "Quillet_AddFile", f.addFile) &&
        Resolve(*library, "Quillet_SetItemTime", f.setItemTime) &&
        Resolve(*library, "Quillet_DelItem", f.delItem) &&
        Resolve(*library, "Orvelane_ConvertAll", f.convertAll) &&
        Resolve(*library, "Orvelane_Convert_SetConvertEndCallBackFun", f.setConvertEndCallback) &&
        Resolve(*library, "Orvelane_Convert_GetDuration", f.getDuration) &&
        Resolve(*library, "Orvelane_Convert_GetCurrentTime", f.getCurrentTime) &&
        Resolve(*library, "Orvelane_Convert_Abort", f.abort) &&
        Resolve(*library, "Orvelane_Convert_Destroy", f.destroy);
    g_functions = f;
    g_library = std::move(library);
    return ok ? 0 : -1;
}

const EngineFunctions& Functions()
{
    return g_functions;
}

bool loaded()
{
    return g_functions.complete();
}

} // namespace EngineLibrary
