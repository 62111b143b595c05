// Keeps opening the writing end of a FIFO until destroyed, so that a reader that waits
// for a writer is let go (and then fails its check) instead of hanging the test.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

class CFifoUnblocker {
public:
    explicit CFifoUnblocker(std::filesystem::path fifo)
        : m_thread([this, fifo] {
              while (!m_stop) {
                  const int descriptor = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                  if (descriptor >= 0)
                      close(descriptor);
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          })
    {
    }
    ~CFifoUnblocker()
    {
        m_stop = true;
        m_thread.join();
    }
    CFifoUnblocker(const CFifoUnblocker&) = delete;
    CFifoUnblocker& operator=(const CFifoUnblocker&) = delete;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
