// The first write of a large payload entry, made on a thread of its own: the window's thread
// stays free for input, painting and a cancel while the entry is inflated and written. The thread
// only writes; what a failed write leads to (the questions about running programs, the write at
// the next restart) is decided on the caller's thread once it has ended (FinishEntry).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

#include "install/install_session.h"
#include "platform/error.h"

namespace setup {

class ThreadedWrite {
public:
    // Starts writing the resource (type, name) to target; throws std::system_error when no
    // thread can be had. Nothing else may use the session's contents or files until it has
    // ended.
    ThreadedWrite(InstallSession& session, std::string type, std::string name, std::string target);
    // Stops the write, as Stop does, and waits for it.
    ~ThreadedWrite();
    ThreadedWrite(const ThreadedWrite&) = delete;
    ThreadedWrite& operator=(const ThreadedWrite&) = delete;

    // Waits at most milliseconds for the write to end; true once it has.
    bool WaitEnded(double milliseconds);
    // Ends the write at its next chunk and waits for it: its temporary file is removed and the
    // target keeps what it held.
    void Stop();
    // Once it has ended: the write's result and the bytes written; an error of the entry's
    // resource (missing, damaged) is thrown here, on the caller's thread.
    Result Outcome(std::uint64_t& bytes) const;

    const std::string& Type() const { return type_; }
    const std::string& Name() const { return name_; }
    const std::string& Target() const { return target_; }

private:
    void Write(InstallSession& session) noexcept;

    const std::string type_, name_, target_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    Result result_ = Result::Ok();
    std::uint64_t bytes_ = 0;
    std::exception_ptr error_;
    std::thread thread_;  // last: it starts once everything it uses is there
};

}  // namespace setup
