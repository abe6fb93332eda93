#include "tests/support/ProgramFolder.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

std::string NativeRelative(std::string relative)
{
    for (char& c : relative) {
        if (c == '/')
            c = kSeparator;
    }
    return relative;
}

} // namespace

std::string ProgramFolder::ShippedDataPath()
{
    return PathFromEnvironment("VA_RES_DIR");
}

std::string ProgramFolder::PathFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        throw std::runtime_error(std::string(name) + " is not set");
    std::string path(value);
#ifdef _WIN32
    // Under Wine the build hands over a Unix path; drive Z: maps the Unix root.
    if (!path.empty() && path[0] == '/') {
        for (char& c : path) {
            if (c == '/')
                c = '\\';
        }
        path = "Z:" + path;
    }
#endif
    return path;
}

ProgramFolder::ProgramFolder(Contents contents)
{
    static std::atomic<unsigned> s_counter{0};
    const fs::path base = fs::temp_directory_path();
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path folder;
    for (int attempt = 0;; ++attempt) {
        folder = base / ("va-test-" + std::to_string(ticks) + "-" + std::to_string(s_counter++));
        if (fs::create_directory(folder))
            break;
        if (attempt > 100)
            throw std::runtime_error("cannot create a temporary program folder");
    }
    m_path = folder.string() + kSeparator;
    m_removed = m_path;
    Fill(contents, m_path);
}

void ProgramFolder::Fill(Contents contents, const std::string& folder)
{
    if (contents != kShippedData)
        return;
    try {
        // The folder as it was made, without its trailing separator.
        fs::copy(ShippedDataPath(), fs::path(folder.substr(0, folder.size() - 1)),
                 fs::copy_options::recursive);
    } catch (...) {
        // No destructor runs for a constructor that throws.
        std::error_code ignored;
        fs::remove_all(fs::path(m_removed), ignored);
        throw;
    }
}

#ifdef _WIN32
ProgramFolder::ProgramFolder(Contents contents, const std::wstring& wideName)
    : ProgramFolder(kEmpty)
{
    m_widePath = fs::path(m_path).wstring() + wideName;
    if (!CreateDirectoryW(m_widePath.c_str(), nullptr))
        throw std::runtime_error("cannot create the program folder");
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(m_widePath.c_str(), shortPath, MAX_PATH);
    char narrow[MAX_PATH * 2] = {};
    if (length == 0 || length >= MAX_PATH ||
        WideCharToMultiByte(CP_ACP, 0, shortPath, -1, narrow, sizeof(narrow), nullptr, nullptr) == 0)
        throw std::runtime_error("the program folder has no short name");
    m_widePath += kSeparator;
    m_path = std::string(narrow) + kSeparator;
    Fill(contents, m_path);
}
#endif

ProgramFolder::~ProgramFolder()
{
    std::error_code ignored;
    fs::remove_all(fs::path(m_removed), ignored);
}

std::string ProgramFolder::File(const std::string& relative) const
{
    return m_path + NativeRelative(relative);
}

void ProgramFolder::WriteBytes(const std::string& relative, const std::string& bytes) const
{
    std::ofstream out(File(relative), std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + relative);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ProgramFolder::ReadBytes(const std::string& relative) const
{
    std::ifstream in(File(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ProgramFolder::Exists(const std::string& relative) const
{
    std::error_code ignored;
    return fs::exists(fs::path(File(relative)), ignored);
}

void ProgramFolder::Remove(const std::string& relative) const
{
    std::error_code ignored;
    fs::remove_all(fs::path(File(relative)), ignored);
}

void ProgramFolder::MakeFolder(const std::string& relative) const
{
    fs::create_directories(fs::path(File(relative)));
}
