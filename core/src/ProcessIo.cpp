#include "rq540/ProcessIo.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

namespace RQ540::ProcessIo {

namespace {

// How many bytes a UTF-8 character takes that starts with lead; 0 for a byte that cannot
// start one.
std::size_t Utf8CharacterLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

#ifdef _WIN32
std::wstring WideFromUtf8(std::string_view text)
{
    std::wstring wide;
    if (text.empty())
        return wide;
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    wide.resize(static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Utf8FromWide(const wchar_t* text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

// Text for a console window, which takes UTF-16: whole characters are written at each
// flush, a character cut by the buffer's end waits for its rest.
class CConsoleBuffer final : public std::streambuf {
public:
    explicit CConsoleBuffer(HANDLE console) : m_console(console) { setp(m_bytes, m_bytes + sizeof m_bytes); }

protected:
    int_type overflow(int_type c) override
    {
        if (!WritePending())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override { return WritePending() ? 0 : -1; }

private:
    bool WritePending()
    {
        const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        const std::size_t complete = CompleteUtf8Length(pending);
        const std::wstring wide = WideFromUtf8(pending.substr(0, complete));
        bool written = true;
        for (std::size_t done = 0; written && done < wide.size();) {
            DWORD count = 0;
            written = WriteConsoleW(m_console, wide.data() + done,
                                    static_cast<DWORD>(wide.size() - done), &count, nullptr) &&
                      count > 0;
            done += count;
        }
        const std::size_t rest = pending.size() - complete;
        std::memmove(m_bytes, pending.data() + complete, rest);
        setp(m_bytes, m_bytes + sizeof m_bytes);
        pbump(static_cast<int>(rest));
        return written;
    }

    HANDLE m_console;
    char m_bytes[4096];
};

// A buffer for the console behind handle, or null when handle is a file or a pipe.
std::unique_ptr<std::streambuf> ConsoleBufferFor(DWORD handle)
{
    HANDLE console = GetStdHandle(handle);
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !GetConsoleMode(console, &mode))
        return nullptr;
    return std::make_unique<CConsoleBuffer>(console);
}
#endif

}  // namespace

std::vector<std::string> GetArguments(int argc, char** argv)
{
    std::vector<std::string> arguments;
#ifdef _WIN32
    (void)argc;
    (void)argv;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide) {
        for (int i = 0; i < count; ++i)
            arguments.push_back(Utf8FromWide(wide[i]));
        LocalFree(wide);
    }
#else
    arguments.assign(argv, argv + argc);
#endif
    return arguments;
}

std::optional<std::string> GetEnvironment(const std::string& name)
{
#ifdef _WIN32
    const wchar_t* value = _wgetenv(WideFromUtf8(name).c_str());
    if (!value)
        return std::nullopt;
    return Utf8FromWide(value);
#else
    const char* value = std::getenv(name.c_str());
    if (!value)
        return std::nullopt;
    return std::string(value);
#endif
}

CStandardStreams::CStandardStreams()
{
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    m_out = ConsoleBufferFor(STD_OUTPUT_HANDLE);
    m_err = ConsoleBufferFor(STD_ERROR_HANDLE);
    if (m_out)
        m_previousOut = std::cout.rdbuf(m_out.get());
    if (m_err)
        m_previousErr = std::cerr.rdbuf(m_err.get());
#endif
}

CStandardStreams::~CStandardStreams()
{
    std::cout.flush();
    std::cerr.flush();
    if (m_out)
        std::cout.rdbuf(m_previousOut);
    if (m_err)
        std::cerr.rdbuf(m_previousErr);
}

std::size_t CompleteUtf8Length(std::string_view bytes)
{
    // Only the last three bytes can belong to a character that has not ended yet.
    const std::size_t from = bytes.size() > 3 ? bytes.size() - 3 : 0;
    for (std::size_t start = bytes.size(); start > from; --start) {
        const auto byte = static_cast<unsigned char>(bytes[start - 1]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const std::size_t length = Utf8CharacterLength(byte);
        return length > bytes.size() - (start - 1) ? start - 1 : bytes.size();
    }
    return bytes.size();
}

}  // namespace RQ540::ProcessIo
