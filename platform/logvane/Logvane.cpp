#include "logvane/Logvane.h"

#include "mfc/CString.h"
#include "win32/Utf.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <deque>
#include <filesystem>
#include <mutex>
#include <sys/time.h>

namespace
{

struct LogvaneState
{
    std::mutex lock;
    LogvaneLevel level = LOGVANE_LEVEL_OFF;
    bool console = false;
    std::wstring filePath;
    FILE* file = nullptr;
    std::deque<std::wstring> captured;
};

// Never destroyed, so that code running at exit can still log.
LogvaneState& State()
{
    static LogvaneState* state = new LogvaneState;
    return *state;
}

std::string Attribute(xmlNodePtr node, const char* name)
{
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value)
        return std::string();
    std::string s(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return s;
}

bool ParseLevel(const std::string& text, LogvaneLevel& level)
{
    if (text == "info" || text == "INFO")
        level = LOGVANE_LEVEL_INFO;
    else if (text == "error" || text == "ERROR")
        level = LOGVANE_LEVEL_ERROR;
    else if (text == "off" || text == "OFF")
        level = LOGVANE_LEVEL_OFF;
    else
        return false;
    return true;
}

struct LogvaneConfig
{
    LogvaneLevel level = LOGVANE_LEVEL_OFF;
    bool console = false;
    std::filesystem::path file;
};

bool ReadConfig(const std::filesystem::path& configPath, LogvaneConfig& config)
{
    xmlDocPtr doc =
        xmlReadFile(configPath.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc)
        return false;
    bool ok = false;
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (root && xmlStrcmp(root->name, reinterpret_cast<const xmlChar*>("logvane")) == 0)
    {
        ok = true;
        for (xmlNodePtr node = root->children; node; node = node->next)
        {
            if (node->type != XML_ELEMENT_NODE ||
                xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>("output")) != 0)
                continue;
            LogvaneLevel level = LOGVANE_LEVEL_INFO;
            const std::string levelText = Attribute(node, "level");
            if (!levelText.empty() && !ParseLevel(levelText, level))
            {
                ok = false;
                break;
            }
            std::string file = Attribute(node, "file");
            for (char& c : file)
                if (c == '\\')
                    c = '/';
            config.level = level;
            config.console = Attribute(node, "console") == "true";
            if (!file.empty())
            {
                std::filesystem::path p(file);
                config.file = p.is_absolute() ? p : configPath.parent_path() / p;
            }
            break;
        }
    }
    xmlFreeDoc(doc);
    if (!ok)
        config = LogvaneConfig();
    return ok;
}

std::string TimeStamp()
{
    timeval tv{};
    gettimeofday(&tv, nullptr);
    tm local{};
    const time_t secs = tv.tv_sec;
    localtime_r(&secs, &local);
    char buf[64];
    const size_t n = strftime(buf, sizeof(buf), "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(buf + n, sizeof(buf) - n, ".%03d", int(tv.tv_usec / 1000));
    return buf;
}

void CloseFile(LogvaneState& state)
{
    if (state.file)
    {
        std::fclose(state.file);
        state.file = nullptr;
    }
}

void WriteFormatted(LogvaneLevel level, LPCWSTR format, va_list args)
{
    Logvane_Write(level, AfxFormatV(format, args).c_str());
}

} // namespace

BOOL Logvane_Init(LPCWSTR configPath)
{
    LogvaneConfig config;
    bool ok = false;
    if (configPath && *configPath)
    {
        std::wstring path(configPath);
        for (wchar_t& c : path)
            if (c == L'\\')
                c = L'/';
        ok = ReadConfig(std::filesystem::path(WideToUtf8(path)), config);
    }
    LogvaneState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    CloseFile(state);
    state.level = config.level;
    state.console = config.console;
    state.filePath = config.file.empty() ? std::wstring() : Utf8ToWide(config.file.string());
    if (!config.file.empty() && config.level != LOGVANE_LEVEL_OFF)
    {
        state.file = std::fopen(config.file.c_str(), "a");
        if (!state.file)
            ok = false;
    }
    return ok ? TRUE : FALSE;
}

void Logvane_Term()
{
    LogvaneState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    CloseFile(state);
    state.level = LOGVANE_LEVEL_OFF;
    state.console = false;
}

void Logvane_Write(LogvaneLevel level, LPCWSTR text)
{
    std::wstring message(text ? text : L"");
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();

    LogvaneState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.captured.push_back(message);
    while (state.captured.size() > LOGVANE_CAPTURE_LINES)
        state.captured.pop_front();

    if (level == LOGVANE_LEVEL_OFF || level > state.level)
        return;
    if (!state.file && !state.console)
        return;
    const std::string line =
        TimeStamp() + (level == LOGVANE_LEVEL_ERROR ? " ERROR " : " INFO  ") + WideToUtf8(message) + "\n";
    if (state.file)
    {
        std::fputs(line.c_str(), state.file);
        std::fflush(state.file);
    }
    if (state.console)
        std::fputs(line.c_str(), stderr);
}

void Logvane_Info(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    WriteFormatted(LOGVANE_LEVEL_INFO, format, args);
    va_end(args);
}

void Logvane_Error(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    WriteFormatted(LOGVANE_LEVEL_ERROR, format, args);
    va_end(args);
}

LogvaneLevel Logvane_GetLevel()
{
    LogvaneState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.level;
}

std::wstring Logvane_GetFilePath()
{
    LogvaneState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.filePath;
}

std::vector<std::wstring> Logvane_GetCapturedLines()
{
    LogvaneState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return std::vector<std::wstring>(state.captured.begin(), state.captured.end());
}

void Logvane_ClearCaptured()
{
    LogvaneState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.captured.clear();
}
