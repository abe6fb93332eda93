#!/usr/bin/env python3
"""Lists every function the system calls into (CALLBACK, WINAPI, APIENTRY,
STDMETHODCALLTYPE, STDMETHOD, STDMETHODIMP) defined outside tests, and fails
for one whose body does not run through an entry helper of the framework:
AfxRunEntry (a guarded body with every exception caught), VaRunComMethod (a COM
method's), AfxCallWndProc (the
window procedure's guard), AfxRunExport (an export of a library) or
AfxCallGuarded/AfxCallGuardedFor inside an entry helper itself.

A hook is registered only through AfxSetGuardedHook, whose procedure runs
the hook's work guarded: a SetWindowsHookEx call anywhere else fails too.

A body that only returns a constant (`{ return S_OK; }`) touches nothing and
needs no guard. The exemptions below, by name:
- AddRef, Release, QueryInterface: COM reference counting and interface
  lookup, which run no code of the program's beyond a count or a table;
- the enumerator over a snapshot and the dispatch without type information
  (their templates are shared with the test page control, which stands for
  code the program did not write and links no guard): COM bookkeeping over
  a vector and constant answers;
- WinMain: the thread's start, where no guard could do more than the last
  one (a fault that leaves the pump's own net goes to the unhandled-exception
  filter, which ends the process and keeps the last autosave);
- the plug-in Skiffport, which links no framework and holds nothing: the
  program calls its export inside the guard of its plug-in calls, and its
  window enumeration runs inside that call.

It also fails for a window's redrawing turned off anywhere but in
RedrawGuard (see raw_redraw_offs), naming the file and line.

    check-entries.py [--list] [root]
"""
import os
import re
import sys

HELPERS = ("AfxRunEntry", "VaRunComMethod", "AfxRunExport", "AfxCallWndProc", "AfxCallGuardedFor", "AfxCallGuarded")
EXEMPT_NAMES = {"AddRef", "Release", "QueryInterface"}
EXEMPT_FUNCTIONS = {
    "framework/app/WinMain.cpp": {"WinMain"},
    "framework/ole/OleObject.h": {"GetTypeInfoCount", "GetTypeInfo", "Next", "Skip", "Reset", "Clone"},
    "plugin-ie/Skiffport.cpp": {"DllMain", "EnumIEChildProc", "EnumIEFramesProc", "PluginExecute"},
}
SOURCE_DIRS = ("framework", "shared", "menulib", "lists", "tab", "bars", "app", "dialogs", "plugin-ie")
MARKERS = re.compile(r"\b(CALLBACK|WINAPI|APIENTRY|STDMETHODCALLTYPE|STDMETHODIMP_?|STDMETHOD_?)\b")
CONSTANT_BODY = re.compile(r"^\{\s*(return\s+[A-Za-z_0-9]+\s*;)?\s*\}$")


def strip_comments(text):
    """Blanks comments and string literals, keeping offsets and line breaks."""
    out = list(text)
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            for k in range(i, j):
                out[k] = " "
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            for k in range(i, j):
                if out[k] != "\n":
                    out[k] = " "
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            for k in range(i + 1, min(j, n)):
                if out[k] != "\n":
                    out[k] = " "
            i = j + 1
        else:
            i += 1
    # A macro's continued lines read as one.
    return re.sub(r"\\\n", " \n", "".join(out))


def match_paren(text, i, open_c="(", close_c=")"):
    depth = 0
    for j in range(i, len(text)):
        if text[j] == open_c:
            depth += 1
        elif text[j] == close_c:
            depth -= 1
            if depth == 0:
                return j
    return -1


def skip_space(text, i):
    while i < len(text) and text[i].isspace():
        i += 1
    return i


def definitions(text):
    """(name, line, body) of each entry function defined in text."""
    for m in MARKERS.finditer(text):
        marker = m.group(1)
        before = text[:m.start()].rstrip()
        if before.endswith("(") or before.endswith("#define") or re.search(r"#\s*define\s+\w+$", before):
            continue  # a function pointer type or a macro of its own
        i = m.end()
        if marker in ("STDMETHOD", "STDMETHOD_"):
            i = skip_space(text, i)
            if i >= len(text) or text[i] != "(":
                continue
            close = match_paren(text, i)
            name = text[i + 1:close].split(",")[-1].strip()
            i = skip_space(text, close + 1)
        else:
            if marker == "STDMETHODIMP_":
                i = skip_space(text, i)
                if i < len(text) and text[i] == "(":
                    i = match_paren(text, i) + 1
            nm = re.compile(r"\s*([A-Za-z_][\w:<>~]*)\s*\(").match(text, i)
            if not nm:
                continue
            name = nm.group(1).split("::")[-1]
            i = nm.end() - 1
        if i >= len(text) or text[i] != "(":
            continue
        close = match_paren(text, i)
        if close < 0:
            continue
        j = skip_space(text, close + 1)
        while True:
            q = re.compile(r"(const|override|noexcept|final)\b").match(text, j)
            if not q:
                break
            j = skip_space(text, q.end())
        if j >= len(text) or text[j] != "{":
            continue  # a declaration
        end = match_paren(text, j, "{", "}")
        yield name, text.count("\n", 0, m.start()) + 1, text[j:end + 1]


def guarded(body):
    return any(re.search(r"\b%s\s*[(<]" % h, body) for h in HELPERS)


# The one place a hook is registered: the helper that gives its procedure a
# guard. A raw registration elsewhere would let a hook's body run unguarded.
HOOK_HELPER_FILE = "framework/app/FaultGuard.h"
RAW_HOOK = re.compile(r"\bSetWindowsHookEx[AW]?\s*\(")


def raw_hook_registrations(rel, text):
    """The lines of text (comments blanked) that register a hook without
    AfxSetGuardedHook."""
    if rel == HOOK_HELPER_FILE:
        return []
    return [text.count("\n", 0, m.start()) + 1 for m in RAW_HOOK.finditer(text)]


# Redrawing turned off is a hold: RedrawGuard switches it on again when its
# scope ends or a fault breaks the scope off. Anywhere else a WM_SETREDRAW or
# SetRedraw whose argument is not TRUE turns it off raw.
REDRAW_GUARD = "framework/win/RedrawGuard.h"
REDRAW_ON = {"", "TRUE", "true", "1"}
REDRAW_CALL = re.compile(r"\b(SetRedraw|WM_SETREDRAW)\b")
# The wrapper's own definition, which forwards its argument: its callers are
# what is checked.
REDRAW_WRAPPER = re.compile(r"\bvoid\s+SetRedraw\s*\(")


def redraw_argument(text, m):
    """The argument that says on or off: SetRedraw's first, WM_SETREDRAW's
    next (the wParam); None when the text does not read as a call."""
    i = skip_space(text, m.end())
    if m.group(1) == "SetRedraw":
        if i >= len(text) or text[i] != "(":
            return None
        close = match_paren(text, i)
        return text[i + 1:close].split(",")[0].strip() if close > 0 else None
    if i >= len(text) or text[i] != ",":
        return None
    end = i + 1
    depth = 0
    while end < len(text) and (depth > 0 or text[end] not in ",)"):
        depth += {"(": 1, ")": -1}.get(text[end], 0)
        end += 1
    return text[i + 1:end].strip()


def raw_redraw_offs(root):
    """file:line of each redraw turned off outside RedrawGuard, tests included."""
    found = []
    for top in SOURCE_DIRS + ("tests",):
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for f in sorted(files):
                if not f.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(folder, f)
                rel = os.path.relpath(path, root).replace(os.sep, "/")
                if rel == REDRAW_GUARD:
                    continue
                with open(path, encoding="cp932", errors="replace") as src:
                    text = strip_comments(src.read())
                lines = text.split("\n")
                for m in REDRAW_CALL.finditer(text):
                    line = text.count("\n", 0, m.start()) + 1
                    if REDRAW_WRAPPER.search(lines[line - 1]):
                        continue
                    argument = redraw_argument(text, m)
                    if argument is not None and " ".join(argument.split()) not in REDRAW_ON:
                        found.append("%s:%d" % (rel, line))
    return found


def main(argv):
    listing = "--list" in argv
    args = [a for a in argv if not a.startswith("--")]
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    failures = []
    hooks = []
    count = 0
    for top in SOURCE_DIRS:
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs[:] = [d for d in dirs if d not in ("tests", "bench")]
            for f in sorted(files):
                if not f.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(folder, f)
                with open(path, encoding="cp932", errors="replace") as src:
                    text = strip_comments(src.read())
                rel = os.path.relpath(path, root)
                for line in raw_hook_registrations(rel.replace(os.sep, "/"), text):
                    hooks.append("%s:%d" % (rel, line))
                for name, line, body in definitions(text):
                    count += 1
                    if name in EXEMPT_NAMES or name in EXEMPT_FUNCTIONS.get(rel.replace(os.sep, "/"), ()):
                        state = "exempt"
                    elif CONSTANT_BODY.match(" ".join(body.split())):
                        state = "constant"
                    elif guarded(body):
                        state = "guarded"
                    else:
                        state = "UNGUARDED"
                        failures.append("%s:%d: %s" % (rel, line, name))
                    if listing:
                        print("%-9s %s:%d %s" % (state, rel, line, name))
    for failure in failures:
        print("entry point without a guard: " + failure, file=sys.stderr)
    for hook in hooks:
        print("hook registered without AfxSetGuardedHook: " + hook, file=sys.stderr)
    redraw_offs = raw_redraw_offs(root)
    for place in redraw_offs:
        print("redraw turned off outside RedrawGuard: " + place, file=sys.stderr)
    print("entry points: %d, unguarded: %d, raw hook registrations: %d, raw redraw-offs: %d"
          % (count, len(failures), len(hooks), len(redraw_offs)))
    return 1 if failures or hooks or redraw_offs else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
