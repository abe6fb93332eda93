#include "tab/KeyBindings.h"

void CBindingMap::Clear()
{
    m_bindings.clear();
    m_shortcuts.clear();
}

void CBindingMap::Load(const std::vector<BindingFile::Line>& lines)
{
    Clear();
    for (const BindingFile::Line& line : lines) {
        Binding& binding = m_bindings[std::string(line.text, static_cast<size_t>(line.text.GetLength()))];
        binding.command = line.command;
        binding.kind = line.kind;
        m_shortcuts[line.command] = line.text;
    }
}

const CBindingMap::Binding* CBindingMap::Find(const CString& text) const
{
    auto found = m_bindings.find(std::string(text, static_cast<size_t>(text.GetLength())));
    return found != m_bindings.end() ? &found->second : nullptr;
}

const CString* CBindingMap::FindShortcut(int command) const
{
    auto found = m_shortcuts.find(command);
    return found != m_shortcuts.end() ? &found->second : nullptr;
}
