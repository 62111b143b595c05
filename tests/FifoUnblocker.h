// Keeps opening the writing end of a FIFO until destroyed, so that a reader that waits
// for a writer is let go (and then fails its check) instead of hanging the test.
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

class CFifoUnblocker {
public:
    explicit CFifoUnblocker(const std::filesystem::path& fifo)
        : m_thread([this, fifo] {
              for (; !m_stop; std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
                  const int descriptor = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                  if (descriptor >= 0)
                      close(descriptor);
              }
          })
    {
    }
    ~CFifoUnblocker()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

#endif
