// The C interface the program resolves by name. Nothing here may throw past
// the boundary; every entry point catches and reports failure instead.

#include "engine/orvelane.h"

#include "engine/convertjob.h"
#include "engine/joingraph.h"
#include "engine/mediatool.h"

#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

using namespace Engine;

namespace {

// The items of the next conversion, in the order they were added.
class ItemTable
{
public:
    int add(JoinItem item)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const int id = m_nextId++;
        m_items.emplace(id, std::move(item));
        return id;
    }

    void setTime(int id, int64_t start, int64_t end)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_items.find(id);
        if (it == m_items.end())
            return;
        JoinItem& item = it->second;
        // The item's length is known to lie within MaxDurationUs (AddFile);
        // a length of 0 is unknown.
        const int64_t duration = item.facts.durationUs;
        const int64_t last = duration > 0 ? duration : MaxDurationUs;
        start = std::clamp<int64_t>(start, 0, last);
        // An empty or overlong range runs to the item's end.
        if (end <= start || end > last)
            end = duration > 0 ? duration : -1;
        item.startUs = start;
        item.endUs = end;
    }

    void remove(int id)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_items.erase(id);
    }

    std::vector<JoinItem> snapshot() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<JoinItem> items;
        items.reserve(m_items.size());
        for (const auto& entry : m_items) // ids increase, so this is the adding order
            items.push_back(entry.second);
        return items;
    }

private:
    mutable std::mutex m_mutex;
    std::map<int, JoinItem> m_items;
    int m_nextId = 1;
};

// Every conversion that has not been destroyed, by handle.
class JobTable
{
public:
    ~JobTable()
    {
        // The library is being unloaded: no thread may outlive its code.
        std::map<int, std::shared_ptr<ConvertJob>> jobs;
        std::vector<std::shared_ptr<ConvertJob>> retired;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            jobs.swap(m_jobs);
            retired.swap(m_retired);
        }
        for (auto& entry : jobs)
            entry.second->shutdown();
        for (auto& job : retired)
            job->shutdown();
    }

    int add(std::shared_ptr<ConvertJob> job, int handle)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.emplace(handle, std::move(job));
        return handle;
    }

    int nextHandle()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_nextHandle++;
    }

    std::shared_ptr<ConvertJob> find(int handle) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_jobs.find(handle);
        return it == m_jobs.end() ? nullptr : it->second;
    }

    std::shared_ptr<ConvertJob> take(int handle)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        reapRetired();
        const auto it = m_jobs.find(handle);
        if (it == m_jobs.end())
            return nullptr;
        std::shared_ptr<ConvertJob> job = std::move(it->second);
        m_jobs.erase(it);
        return job;
    }

    // A job destroyed from its own callback cannot join its own thread; it
    // is kept until the thread has ended.
    void retire(std::shared_ptr<ConvertJob> job)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_retired.push_back(std::move(job));
    }

private:
    void reapRetired()
    {
        m_retired.erase(
            std::remove_if(m_retired.begin(), m_retired.end(),
                           [](const std::shared_ptr<ConvertJob>& job) { return job->finished(); }),
            m_retired.end());
    }

    mutable std::mutex m_mutex;
    std::map<int, std::shared_ptr<ConvertJob>> m_jobs;
    std::vector<std::shared_ptr<ConvertJob>> m_retired;
    int m_nextHandle = 1;
};

ItemTable& Items()
{
    static ItemTable table;
    return table;
}

JobTable& Jobs()
{
    static JobTable table;
    return table;
}

bool IsInfoBlock(const void* info)
{
    return info && qFromLittleEndian<qint32>(info) == OrvelaneInfoSize;
}

int StartConversion(const void* params)
{
    OutputSettings settings;
    if (!ReadOutputSettings(params, &settings)) {
        qDebug("engine: refused: bad parameter block");
        return 0;
    }
    if (settings.path.isEmpty()) {
        qDebug("engine: refused: no output file");
        return 0;
    }
    const QFileInfo output(settings.path);
    if (output.exists() || output.isSymLink()) {
        qDebug("engine: refused: %s already exists", qUtf8Printable(settings.path));
        return 0;
    }
    const std::vector<JoinItem> items = Items().snapshot();
    if (items.empty()) {
        qDebug("engine: refused: nothing to convert");
        return 0;
    }
    int64_t total = 0;
    for (const JoinItem& item : items) {
        const int64_t kept = item.keptUs();
        // A known length with nothing kept has nothing to convert.
        if (kept == 0 && item.facts.durationUs > 0) {
            qDebug("engine: refused: %s keeps nothing", qUtf8Printable(item.path));
            return 0;
        }
        // Each length is at most MaxDurationUs, so the sum fits until the
        // total is beyond any real job.
        total += kept;
        if (total > MaxDurationUs) {
            qDebug("engine: refused: the result would be too long");
            return 0;
        }
    }
    const QStringList arguments = JoinArguments(items, settings);
    if (arguments.isEmpty()) {
        qDebug("engine: refused: the output would hold neither picture nor sound");
        return 0;
    }
    const QString ffmpeg = FfmpegPath();
    if (ffmpeg.isEmpty()) {
        qDebug("engine: refused: no ffmpeg found");
        return 0;
    }

    qDebug("engine: %s",
           qUtf8Printable(ffmpeg + QLatin1Char(' ') + arguments.join(QLatin1Char(' '))));
    const int handle = Jobs().nextHandle();
    auto job = std::make_shared<ConvertJob>(handle, ffmpeg, arguments, settings.path, total);
    job->start();
    return Jobs().add(std::move(job), handle);
}

} // namespace

extern "C" {

ORVELANE_EXPORT int Orvelane_GetInfo(const char* utf8Path, void* info, int /*reserved*/)
{
    try {
        if (!utf8Path || !IsInfoBlock(info))
            return -1;
        MediaFacts facts;
        if (!ProbeFile(QString::fromUtf8(utf8Path), &facts))
            return -1;
        FactsToBlock(facts, info);
        return 0;
    } catch (...) {
        return -1;
    }
}

ORVELANE_EXPORT int Quillet_AddFile(const char* utf8Path, const void* info, int /*reserved*/)
{
    try {
        if (!utf8Path || !*utf8Path || !IsInfoBlock(info))
            return -1;
        JoinItem item;
        item.path = QString::fromUtf8(utf8Path);
        item.facts = FactsFromBlock(info);
        if (!FactsAreSane(item.facts)) {
            qDebug("engine: refused %s: its information block holds impossible values", utf8Path);
            return -1;
        }
        item.facts.audioTrack = std::clamp(item.facts.audioTrack, 0, LastAudioTrack(item.facts));
        item.endUs = item.facts.durationUs > 0 ? item.facts.durationUs : -1;
        return Items().add(std::move(item));
    } catch (...) {
        return -1;
    }
}

ORVELANE_EXPORT void Quillet_SetItemTime(int itemId, int64_t start, int64_t end)
{
    try {
        Items().setTime(itemId, start, end);
    } catch (...) {
    }
}

ORVELANE_EXPORT void Quillet_DelItem(int itemId)
{
    try {
        Items().remove(itemId);
    } catch (...) {
    }
}

ORVELANE_EXPORT int Orvelane_ConvertAll(const void* params, int /*reserved1*/, int /*reserved2*/)
{
    try {
        return StartConversion(params);
    } catch (...) {
        return 0;
    }
}

ORVELANE_EXPORT void Orvelane_Convert_SetConvertEndCallBackFun(int handle,
                                                               ConvertEndCallback callback)
{
    try {
        if (const auto job = Jobs().find(handle))
            job->setCallback(callback);
    } catch (...) {
    }
}

ORVELANE_EXPORT int64_t Orvelane_Convert_GetDuration(int handle)
{
    try {
        const auto job = Jobs().find(handle);
        return job ? job->totalUs() : 0;
    } catch (...) {
        return 0;
    }
}

ORVELANE_EXPORT int64_t Orvelane_Convert_GetCurrentTime(int handle)
{
    try {
        const auto job = Jobs().find(handle);
        return job ? job->currentUs() : 0;
    } catch (...) {
        return 0;
    }
}

ORVELANE_EXPORT void Orvelane_Convert_Abort(int handle)
{
    try {
        if (const auto job = Jobs().find(handle))
            job->abort();
    } catch (...) {
    }
}

ORVELANE_EXPORT void Orvelane_Convert_Destroy(int handle)
{
    try {
        std::shared_ptr<ConvertJob> job = Jobs().take(handle);
        if (!job)
            return;
        job->shutdown();
        if (job->runsOnWorker())
            Jobs().retire(std::move(job));
    } catch (...) {
    }
}

} // extern "C"
