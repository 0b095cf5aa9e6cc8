#pragma once

#include "engine/orvelane.h"

#include <QString>

// The engine library's functions, looked up once in the application folder.
// A slot stays null when the library or that name is missing; callers test
// EngineLibrary::loaded() before they call through any of them.
struct EngineFunctions
{
    int (*getInfo)(const char*, void*, int) = nullptr;
    int (*addFile)(const char*, const void*, int) = nullptr;
    void (*setItemTime)(int, int64_t, int64_t) = nullptr;
    void (*delItem)(int) = nullptr;
    int (*convertAll)(const void*, int, int) = nullptr;
    void (*setConvertEndCallback)(int, ConvertEndCallback) = nullptr;
    int64_t (*getDuration)(int) = nullptr;
    int64_t (*getCurrentTime)(int) = nullptr;
    void (*abort)(int) = nullptr;
    void (*destroy)(int) = nullptr;

    bool complete() const;
};

namespace EngineLibrary {

// The library's file name in the application folder.
QString FileName();

// Opens <appFolder>/<FileName()> and resolves every function. Returns 0 when
// all were found, -1 otherwise; the first missing name is logged and the
// lookup stops there. Loading again replaces the earlier slots.
int Load(const QString& appFolder);

// The process-wide slots.
const EngineFunctions& Functions();

// True when every function was found.
bool loaded();

} // namespace EngineLibrary
