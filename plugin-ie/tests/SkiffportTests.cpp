// The running-browser import plug-in, loaded as the host loads it, against
// fake browser frames whose document windows answer "WM_HTML_GETOBJECT".
#include <windows.h>
#include <oleacc.h>
#include <mshtml.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "plugin-ie/tests/TestHtmlDocument.h"
#include "tests/support/ProgramFolder.h"

namespace {

const UINT kFrameOpenUrl = 0x9470;

typedef const char* (*NameFn)();
typedef HICON (*IconFn)();
typedef int(WINAPI* ExecuteFn)(HWND, int, const char*);

std::vector<std::string> g_openedUrls;
std::map<HWND, IUnknown*> g_documents;  // document window -> its document
UINT g_getObjectMessage = 0;

LRESULT CALLBACK MainProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kFrameOpenUrl) {
        g_openedUrls.push_back(reinterpret_cast<const char*>(lParam));
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK DocumentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == g_getObjectMessage && msg != 0) {
        auto it = g_documents.find(hWnd);
        if (it == g_documents.end())
            return 0;
        return LresultFromObject(IID_IHTMLDocument2, wParam, it->second);
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

void RegisterClassOnce(const char* name, WNDPROC proc)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

class SkiffportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_getObjectMessage = RegisterWindowMessageA("WM_HTML_GETOBJECT");
        RegisterClassOnce("SkiffportTestMain", MainProc);
        RegisterClassOnce("IEFrame", DefWindowProcA);
        RegisterClassOnce("Internet Explorer_Server", DocumentProc);
        RegisterClassOnce("Shell DocObject View", DefWindowProcA);
        ASSERT_HRESULT_SUCCEEDED(TestHtmlDocumentRegister());
        g_openedUrls.clear();
        m_main = CreateWindowA("SkiffportTestMain", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, m_main);
        std::string path = ProgramFolder::PathFromEnvironment("VA_BIN_DIR") + "\\plugin\\Skiffport.vap";
        m_module = LoadLibraryA(path.c_str());
        ASSERT_NE(nullptr, m_module) << path;
        m_execute = reinterpret_cast<ExecuteFn>(GetProcAddress(m_module, "PluginExecute"));
        ASSERT_NE(nullptr, m_execute);
    }

    void TearDown() override
    {
        for (HWND w : m_windows)
            DestroyWindow(w);
        for (auto& entry : g_documents)
            entry.second->Release();
        g_documents.clear();
        if (m_main != nullptr)
            DestroyWindow(m_main);
        if (m_module != nullptr)
            FreeLibrary(m_module);
        TestHtmlDocumentRevoke();
        EXPECT_EQ(0, TestHtmlDocumentLiveCount());
    }

    HWND AddFrame()
    {
        HWND frame = CreateWindowA("IEFrame", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        m_windows.push_back(frame);
        return frame;
    }

    // A document window under parent; url null: its document has no URL;
    // noDocument: it answers the message with 0.
    HWND AddDocumentWindow(HWND parent, const wchar_t* url, bool noDocument = false)
    {
        HWND w = CreateWindowA("Internet Explorer_Server", "", WS_CHILD, 0, 0, 5, 5, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!noDocument)
            g_documents[w] = TestHtmlDocumentCreate(url);
        return w;
    }

    int Execute() { return m_execute(m_main, 0, "selected"); }

    HWND m_main = nullptr;
    HMODULE m_module = nullptr;
    ExecuteFn m_execute = nullptr;
    std::vector<HWND> m_windows;
};

TEST_F(SkiffportTest, NameAndIconExportsAnswerTheHost)
{
    auto name = reinterpret_cast<NameFn>(GetProcAddress(m_module, "PlugInName"));
    auto icon = reinterpret_cast<IconFn>(GetProcAddress(m_module, "PlugInIcon"));
    ASSERT_NE(nullptr, name);
    ASSERT_NE(nullptr, icon);
    EXPECT_STREQ("\x8b\x4e\x93\xae\x82\xb5\x82\xc4\x82\xa2\x82\xe9IE\x82\xccURL\x82\xf0"
                 "\x83\x5e\x83\x75\x82\xc5\x8a\x4a\x82\xad(&C)",
                 name());
    EXPECT_EQ(name(), name());  // the same text for the module's lifetime
    HICON handle = icon();
    ASSERT_NE(nullptr, handle);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(handle, &info));
    BITMAP bm = {};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(32, bm.bmWidth);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // Optional exports the host would call at start-up and for keys: none.
    EXPECT_EQ(nullptr, GetProcAddress(m_module, "PluginIDleCall"));
    EXPECT_EQ(nullptr, GetProcAddress(m_module, "PluginTranslateKeyDown"));
}

TEST_F(SkiffportTest, NoBrowserWindowSendsNothing)
{
    EXPECT_EQ(1, Execute());
    EXPECT_TRUE(g_openedUrls.empty());
}

TEST_F(SkiffportTest, OneMessagePerDocumentWindowInOrderFailuresSkipped)
{
    HWND frame = AddFrame();
    HWND view = CreateWindowA("Shell DocObject View", "", WS_CHILD, 0, 0, 5, 5, frame, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    AddDocumentWindow(view, L"http://one.example/");
    AddDocumentWindow(frame, nullptr);              // get_URL fails: skipped
    AddDocumentWindow(frame, L"", true);            // no document: skipped
    AddDocumentWindow(frame, L"");                  // an empty URL is sent as it is
    AddDocumentWindow(frame, L"http://two.example/\x30da\x30fc\x30b8");
    // A document window outside any browser frame is not visited.
    HWND other = CreateWindowA("SkiffportTestMain", "", WS_OVERLAPPED, 0, 0, 5, 5, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    m_windows.push_back(other);
    AddDocumentWindow(other, L"http://outside.example/");

    EXPECT_EQ(1, Execute());
    ASSERT_EQ(3u, g_openedUrls.size());
    EXPECT_EQ("http://one.example/", g_openedUrls[0]);
    EXPECT_EQ("", g_openedUrls[1]);
    EXPECT_EQ("http://two.example/\x83\x79\x81\x5b\x83\x57", g_openedUrls[2]);
}

TEST_F(SkiffportTest, AFrameWithoutDocumentWindowsSendsNothingAndLeavesComUsable)
{
    HWND frame = AddFrame();
    CreateWindowA("Shell DocObject View", "", WS_CHILD, 0, 0, 5, 5, frame, nullptr,
                  GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(1, Execute());
    EXPECT_TRUE(g_openedUrls.empty());
    // The caller's apartment is still there after the call.
    IUnknown* doc = TestHtmlDocumentCreate(L"x");
    IStream* stream = nullptr;
    EXPECT_HRESULT_SUCCEEDED(CoMarshalInterThreadInterfaceInStream(IID_IHTMLDocument2, doc,
                                                                    &stream));
    if (stream != nullptr) {
        CoReleaseMarshalData(stream);
        stream->Release();
    }
    doc->Release();
}

} // namespace
