// A fresh program folder for one test: a unique folder under the system's
// temporary folder, filled with the shipped data of res/ and removed again
// when the object goes.
#ifndef VA_TESTS_SUPPORT_PROGRAMFOLDER_H
#define VA_TESTS_SUPPORT_PROGRAMFOLDER_H

#include <string>

class ProgramFolder
{
public:
    enum Contents { kShippedData, kEmpty };

    // The shipped data is found through the environment variable
    // VA_RES_DIR, which the build sets for every test to the repository's
    // res/ folder.
    explicit ProgramFolder(Contents contents = kShippedData);
#ifdef _WIN32
    // A program folder named wideName (a name the ANSI code page may lack)
    // inside a fresh temporary folder. Path() then reaches it by short names
    // where needed; WidePath() names it as the system does.
    ProgramFolder(Contents contents, const std::wstring& wideName);
    const std::wstring& WidePath() const { return m_widePath; }
#endif
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // The folder, ending with the platform's separator.
    const std::string& Path() const { return m_path; }

    // Path() + relative, where relative may use '/' between its parts.
    std::string File(const std::string& relative) const;

    // Raw bytes, for test data and for checking written files. ReadBytes
    // gives an empty string for a missing file; Exists also sees folders.
    void WriteBytes(const std::string& relative, const std::string& bytes) const;
    std::string ReadBytes(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    void MakeFolder(const std::string& relative) const;
    void Remove(const std::string& relative) const;

    // The shipped res/ folder as the platform sees it.
    static std::string ShippedDataPath();
    // A folder path that the build hands over in an environment variable,
    // as the platform sees it.
    static std::string PathFromEnvironment(const char* name);

private:
    void Fill(Contents contents, const std::string& folder);

    std::string m_path;
    std::string m_removed;  // what the destructor removes: the folder, or its parent
#ifdef _WIN32
    std::wstring m_widePath;
#endif
};

#endif // VA_TESTS_SUPPORT_PROGRAMFOLDER_H
