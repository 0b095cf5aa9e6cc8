#pragma once

#include "engine/orvelane.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

class QThread;

namespace Engine {

// One conversion: runs the media tool on a thread of its own, tracks its
// progress and reports the end exactly once through the host's callback.
class ConvertJob
{
public:
    ConvertJob(int handle, QString program, QStringList arguments, QString outputPath,
               int64_t totalUs);
    ~ConvertJob(); // stops and joins the worker; no callback after it returns

    ConvertJob(const ConvertJob&) = delete;
    ConvertJob& operator=(const ConvertJob&) = delete;

    void start();
    void setCallback(ConvertEndCallback callback);
    void abort();
    // Stops the worker, drops any callback still pending and waits for the end.
    void shutdown();
    bool runsOnWorker() const;
    bool finished() const;

    int64_t totalUs() const { return m_totalUs; }
    int64_t currentUs() const { return m_currentUs.load(); }

private:
    void run();
    int runProcess(); // 0 finished, 1 aborted, -1 failed
    void readProgress(const QByteArray& chunk);
    void deliver(int flags);

    const int m_handle;
    const QString m_program;
    const QStringList m_arguments;
    const QString m_outputPath;
    const int64_t m_totalUs;

    std::atomic<int64_t> m_currentUs{0};
    std::atomic<bool> m_abort{false};
    QByteArray m_partialLine; // worker thread only

    std::mutex m_mutex;
    std::condition_variable m_wake;
    ConvertEndCallback m_callback = nullptr; // guarded by m_mutex
    bool m_dropped = false;                  // guarded by m_mutex

    std::unique_ptr<QThread> m_thread;
};

} // namespace Engine
