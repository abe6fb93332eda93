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
    std::string m_path;
};

#endif // VA_TESTS_SUPPORT_PROGRAMFOLDER_H
