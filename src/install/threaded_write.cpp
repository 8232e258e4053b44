#include "install/threaded_write.h"

// Not <chrono>: its unit texts do not convert to the GBK execution character set; the duration
// comes with <condition_variable>.
#include "install/place_file.h"

namespace setup {

ThreadedWrite::ThreadedWrite(InstallSession& session, std::string type, std::string name,
                             std::string target)
    : type_(std::move(type)),
      name_(std::move(name)),
      target_(std::move(target)),
      thread_([this, &session] { Write(session); }) {}

ThreadedWrite::~ThreadedWrite() {
    Stop();
}

// A stopped write ends as WriteStopped; it leaves no file and no result anyone reads.
void ThreadedWrite::Write(InstallSession& session) noexcept {
    Result result = Result::Ok();
    std::uint64_t bytes = 0;
    std::exception_ptr error;
    try {
        result = WriteEntry(session, type_, name_, target_, bytes, &stop_);
    } catch (const WriteStopped&) {
        result = Result::Failed(0);
    } catch (...) {
        error = std::current_exception();
    }
    {
        std::lock_guard lock(mutex_);
        result_ = result;
        bytes_ = bytes;
        error_ = error;
        done_ = true;
    }
    ended_.notify_all();
}

bool ThreadedWrite::WaitEnded(double milliseconds) {
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, std::chrono::duration<double, std::milli>(milliseconds),
                           [this] { return done_; });
}

void ThreadedWrite::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

Result ThreadedWrite::Outcome(std::uint64_t& bytes) const {
    if (error_) std::rethrow_exception(error_);
    bytes = bytes_;
    return result_;
}

}  // namespace setup
