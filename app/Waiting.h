#pragma once

#include <QEventLoop>

#include <chrono>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace zentaro {

class RateTable;

// Shows the wait cursor while a network step or another program's change
// of the data file blocks the window.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Runs work on a thread of its own while this thread's event loop keeps the
// window repainting; work's error is thrown here, as if it had run here.
template <typename Work>
auto AwaitOffThread(Work work) -> decltype(work())
{
    std::optional<decltype(work())> result;
    std::exception_ptr error;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            result.emplace(work());
        } catch (...) {
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (error)
        std::rethrow_exception(error);
    return std::move(*result);
}

// Runs change under the data file's lock, on the file's current content,
// with the wait cursor shown while another program holds the lock. reloaded
// is set as soon as the table was loaded again (another program's change
// found at the lock, or a failed change undone), also when this then fails.
void ChangeDataFileWaiting(RateTable& table, const std::filesystem::path& dataFile,
                           std::chrono::milliseconds lockWait, std::vector<std::filesystem::path> companions,
                           const std::function<void()>& change, bool& reloaded);

} // namespace zentaro
