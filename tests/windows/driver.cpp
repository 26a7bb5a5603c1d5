// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Drives the Windows program from outside, as another Windows program would: runs in the same Wine prefix,
// reads one command per line on standard input and answers each with one line of JSON on standard output.
// FIELD is a field index (0 decimal, 1 hexadecimal, 2 binary); texts go in as UTF-16 units in hexadecimal.
//
//   find MS, gone MS        wait up to MS milliseconds for the program's window to be shown, or to be gone
//   fields                  the three fields' texts by WM_GETTEXT
//   window                  rectangle, styles, state, title, and the focused field with its selection
//   selection FIELD         a field's selection
//   char FIELD CODE         sends WM_CHAR with CODE (decimal) to the field; imechar: WM_IME_CHAR
//   settext FIELD HEX       sends WM_SETTEXT with the text; replacesel: EM_REPLACESEL
//   message TARGET MSG W L  sends a message to TARGET (window, or a field index); post: posts it
//   show CMD                ShowWindow (6 minimises, 3 maximises); foreground brings the window to the front
//   type HEX                SendInput of the text as typed characters
//   keys CHORD...           SendInput of key chords such as ctrl+a: pressed in order, released in reverse
//   regget NAME             a value of HKCU\Software\Vostrel\Main: its type (-1: none) and bytes
//   regset NAME TYPE HEX    writes it; regclear deletes HKCU\Software\Vostrel; regkeys lists what is there
//   desktopdpi N            the prefix's desktop density (HKCU\Control Panel\Desktop\LogPixels)
//   clip HEX, clipget       puts a text on the clipboard, reads it
//   expand HEX              the text with its environment variables expanded (%LOCALAPPDATA%...)
//   exists HEX              whether the file or folder the text names (environment variables expanded) exists
//   hkcu KEYHEX NAME        a value of HKEY_CURRENT_USER\KEY: its type (-1: none) and bytes
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

HWND window = nullptr;
constexpr int kFieldId = 100;
constexpr wchar_t kMainKey[] = L"Software\\Vostrel\\Main";

std::string Quote(const std::wstring& text) {
  std::string out = "\"";
  for (const wchar_t unit : text) {
    if (unit == L'"' || unit == L'\\') {
      out += '\\';
      out += static_cast<char>(unit);
    } else if (unit >= 0x20 && unit < 0x7F) {
      out += static_cast<char>(unit);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
      out += escaped;
    }
  }
  return out + "\"";
}

std::string Hex(const BYTE* data, DWORD size) {
  std::string out;
  char pair[3];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", data[i]);
    out += pair;
  }
  return out;
}

std::vector<BYTE> Bytes(const std::string& hex) {
  std::vector<BYTE> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<BYTE>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return out;
}

std::wstring Units(const std::string& hex) {
  std::wstring out;
  for (std::size_t i = 0; i + 3 < hex.size(); i += 4)
    out += static_cast<wchar_t>(std::stoul(hex.substr(i, 4), nullptr, 16));
  return out;
}

HWND Field(int index) {
  return GetDlgItem(window, kFieldId + index);
}

HWND Target(const std::string& name) {
  return name == "window" ? window : Field(std::stoi(name));
}

std::wstring TextOf(HWND control) {
  wchar_t text[512]{};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  return {text, static_cast<std::size_t>(copied)};
}

bool Wait(bool forWindow, int milliseconds) {
  for (int waited = 0;; waited += 20) {
    HWND found = FindWindowW(L"Vostrel", nullptr);
    if (forWindow && found != nullptr && IsWindowVisible(found)) {
      window = found;
      return true;
    }
    if (!forWindow && found == nullptr) return true;
    if (waited >= milliseconds) return false;
    Sleep(20);
  }
}

std::string WindowJson() {
  RECT rect{};
  GetWindowRect(window, &rect);
  const auto style = static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE));
  const auto exStyle = static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE));
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  int focused = -1;
  for (int i = 0; i < 3; ++i) {
    if (thread.hwndFocus == Field(i)) focused = i;
  }
  DWORD start = 0;
  DWORD end = 0;
  if (focused >= 0) {
    const auto selection = static_cast<DWORD>(SendMessageW(Field(focused), EM_GETSEL, 0, 0));
    start = LOWORD(selection);
    end = HIWORD(selection);
  }
  wchar_t title[256]{};
  GetWindowTextW(window, title, 256);
  std::ostringstream out;
  out << "{\"left\":" << rect.left << ",\"top\":" << rect.top << ",\"width\":" << rect.right - rect.left
      << ",\"height\":" << rect.bottom - rect.top << ",\"style\":" << style << ",\"exstyle\":" << exStyle
      << ",\"visible\":" << (IsWindowVisible(window) ? "true" : "false")
      << ",\"iconic\":" << (IsIconic(window) ? "true" : "false")
      << ",\"zoomed\":" << (IsZoomed(window) ? "true" : "false")
      << ",\"foreground\":" << (GetForegroundWindow() == window ? "true" : "false")
      << ",\"title\":" << Quote(title) << ",\"focus\":" << focused << ",\"selection\":[" << start << ","
      << end << "]}";
  return out.str();
}

WORD VirtualKey(const std::string& name) {
  static const std::pair<const char*, WORD> names[] = {
      {"shift", VK_SHIFT},   {"ctrl", VK_CONTROL}, {"alt", VK_MENU},       {"Return", VK_RETURN},
      {"Escape", VK_ESCAPE}, {"Tab", VK_TAB},      {"BackSpace", VK_BACK}, {"Delete", VK_DELETE},
      {"Insert", VK_INSERT}, {"Left", VK_LEFT},    {"Right", VK_RIGHT},    {"Home", VK_HOME},
      {"End", VK_END},       {"F4", VK_F4},        {"space", VK_SPACE}};
  for (const auto& [text, key] : names) {
    if (name == text) return key;
  }
  if (name.size() == 1) return static_cast<WORD>(VkKeyScanW(static_cast<wchar_t>(name[0])) & 0xFF);
  return 0;
}

void SendKeys(const std::vector<WORD>& chord) {
  std::vector<INPUT> inputs;
  for (const WORD key : chord) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = chord.rbegin(); key != chord.rend(); ++key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendUnits(const std::wstring& units) {
  std::vector<INPUT> inputs;
  for (const wchar_t unit : units) {
    for (const DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = unit;
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool SetClipboard(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  bool set = false;
  if (memory != nullptr) {
    auto* units = static_cast<wchar_t*>(GlobalLock(memory));
    text.copy(units, text.size());
    units[text.size()] = L'\0';
    GlobalUnlock(memory);
    set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  }
  CloseClipboard();
  return set;
}

std::string ClipboardJson() {
  if (!OpenClipboard(nullptr)) return "null";
  std::string out = "null";
  if (const HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(memory))) {
      out = Quote(units);
      GlobalUnlock(memory);
    }
  }
  CloseClipboard();
  return out;
}

std::string RegistryKeysJson() {
  HKEY key = nullptr;
  std::string keys;
  std::string values;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Vostrel", 0, KEY_READ, &key) == ERROR_SUCCESS) {
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (!keys.empty()) keys += ',';
      keys += Quote(name);
    }
    RegCloseKey(key);
  }
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kMainKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (!values.empty()) values += ',';
      values += Quote(name);
    }
    RegCloseKey(key);
  }
  return "{\"keys\":[" + keys + "],\"values\":[" + values + "]}";
}

std::string Answer(const std::string& line) {
  std::istringstream in(line);
  std::string command;
  in >> command;
  if (command == "find" || command == "gone") {
    int milliseconds = 0;
    in >> milliseconds;
    const bool found = Wait(command == "find", milliseconds);
    if (command == "gone") return std::string("{\"gone\":") + (found ? "true" : "false") + "}";
    return "{\"window\":" + std::to_string(found ? reinterpret_cast<std::uintptr_t>(window) : 0) + "}";
  }
  if (command == "regget") {
    std::string name;
    in >> name;
    BYTE data[4096];
    DWORD size = sizeof data;
    DWORD type = 0;
    const std::wstring wide(name.begin(), name.end());
    if (RegGetValueW(HKEY_CURRENT_USER, kMainKey, wide.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                     &size) != ERROR_SUCCESS) {
      return "{\"type\":-1,\"data\":\"\"}";
    }
    return "{\"type\":" + std::to_string(type) + ",\"data\":\"" + Hex(data, size) + "\"}";
  }
  if (command == "regset") {
    std::string name;
    std::string data;
    DWORD type = 0;
    in >> name >> type >> data;
    const std::wstring wide(name.begin(), name.end());
    const std::vector<BYTE> bytes = Bytes(data);
    const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, kMainKey, wide.c_str(), type, bytes.data(),
                                           static_cast<DWORD>(bytes.size()));
    return "{\"status\":" + std::to_string(status) + "}";
  }
  if (command == "expand" || command == "exists") {
    std::string text;
    in >> text;
    wchar_t expanded[1024]{};
    ExpandEnvironmentStringsW(Units(text).c_str(), expanded, 1024);
    if (command == "expand") return "{\"expanded\":" + Quote(expanded) + "}";
    return std::string("{\"exists\":") +
           (GetFileAttributesW(expanded) != INVALID_FILE_ATTRIBUTES ? "true" : "false") + "}";
  }
  if (command == "hkcu") {
    std::string key;
    std::string name;
    in >> key >> name;
    BYTE data[4096];
    DWORD size = sizeof data;
    DWORD type = 0;
    const std::wstring wide(name.begin(), name.end());
    if (RegGetValueW(HKEY_CURRENT_USER, Units(key).c_str(), wide.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                     data, &size) != ERROR_SUCCESS) {
      return "{\"type\":-1,\"data\":\"\"}";
    }
    return "{\"type\":" + std::to_string(type) + ",\"data\":\"" + Hex(data, size) + "\"}";
  }
  if (command == "regclear") {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vostrel");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Vostrel");
    return "{\"cleared\":true}";
  }
  if (command == "regkeys") return RegistryKeysJson();
  if (command == "desktopdpi") {
    DWORD dpi = 0;
    in >> dpi;
    const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels",
                                           REG_DWORD, &dpi, sizeof dpi);
    return "{\"status\":" + std::to_string(status) + "}";
  }
  if (command == "clip") {
    std::string text;
    in >> text;
    return std::string("{\"clip\":") + (SetClipboard(Units(text)) ? "true" : "false") + "}";
  }
  if (command == "clipget") return "{\"clip\":" + ClipboardJson() + "}";
  if (window == nullptr || !IsWindow(window)) return "{\"error\":\"no window\"}";
  if (command == "fields") {
    return "{\"decimal\":" + Quote(TextOf(Field(0))) + ",\"hex\":" + Quote(TextOf(Field(1))) +
           ",\"binary\":" + Quote(TextOf(Field(2))) + "}";
  }
  if (command == "window") return WindowJson();
  if (command == "selection") {
    int field = 0;
    in >> field;
    const auto selection = static_cast<DWORD>(SendMessageW(Field(field), EM_GETSEL, 0, 0));
    return "{\"selection\":[" + std::to_string(LOWORD(selection)) + "," + std::to_string(HIWORD(selection)) +
           "]}";
  }
  if (command == "char" || command == "imechar") {
    int field = 0;
    unsigned code = 0;
    in >> field >> code;
    SendMessageW(Field(field), command == "char" ? WM_CHAR : WM_IME_CHAR, code, 1);
    return "{\"sent\":true}";
  }
  if (command == "settext" || command == "replacesel") {
    int field = 0;
    std::string text;
    in >> field >> text;
    const std::wstring units = Units(text);
    const LRESULT result =
        SendMessageW(Field(field), command == "settext" ? WM_SETTEXT : EM_REPLACESEL,
                     command == "settext" ? 0 : TRUE, reinterpret_cast<LPARAM>(units.c_str()));
    return "{\"result\":" + std::to_string(result) + "}";
  }
  if (command == "message" || command == "post") {
    std::string target;
    unsigned message = 0;
    unsigned long long wParam = 0;
    long long lParam = 0;
    in >> target >> message >> wParam >> lParam;
    if (command == "post") {
      return std::string("{\"posted\":") +
             (PostMessageW(Target(target), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam))
                  ? "true"
                  : "false") +
             "}";
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutW(Target(target), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam),
                        SMTO_ABORTIFHUNG, 10000, &result);
    return "{\"result\":" + std::to_string(result) + "}";
  }
  if (command == "show") {
    int how = 0;
    in >> how;
    ShowWindowAsync(window, how);
    return "{\"shown\":true}";
  }
  if (command == "foreground") {
    SetForegroundWindow(window);
    return "{\"foreground\":true}";
  }
  if (command == "type") {
    std::string text;
    in >> text;
    SendUnits(Units(text));
    return "{\"typed\":true}";
  }
  if (command == "keys") {
    std::string chord;
    while (in >> chord) {
      std::vector<WORD> keys;
      std::size_t from = 0;
      while (from <= chord.size()) {
        const std::size_t plus = chord.find('+', from);
        const std::string name =
            chord.substr(from, plus == std::string::npos ? std::string::npos : plus - from);
        if (const WORD key = VirtualKey(name)) keys.push_back(key);
        if (plus == std::string::npos) break;
        from = plus + 1;
      }
      SendKeys(keys);
    }
    return "{\"keys\":true}";
  }
  return "{\"error\":\"unknown command\"}";
}

}  // namespace

int main() {
  std::string line;
  std::cout << "{\"ready\":true}" << std::endl;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::cout << Answer(line) << std::endl;
  }
  return 0;
}
