// The settings file: written through the platform's private-profile
// functions, read from its own bytes (ini_bytes), since those functions turn
// every key and value through the ANSI code page and cannot read a file
// spelt in another one, as one written before a switch to UTF-8 is.
#pragma once

#include "saver/common/presence.h"
#include "saver/startup/settings_file.h"

namespace tremblix {

// The lead-byte test of the system's ANSI code page (IsDBCSLeadByte).
bool AnsiLeadByte(uint8_t byte);

class Win32Profile : public ProfileApi {
 public:
  uint32_t ProfileRead(const std::string& section, const std::string& key,
                       const std::string& fallback, char* buffer, uint32_t size,
                       const std::wstring& file) override;
  bool ProfileWrite(const std::string& section, const std::string& key, const std::string& value,
                    const std::wstring& file) override;
  bool ProfileDelete(const std::string& section, const std::string& key,
                     const std::wstring& file) override;
  bool CanOpenForReading(const std::string& path) override;
  unsigned AnsiCodePage() override;
  unsigned LanguageCodePage() override;
  uint16_t SystemLanguage() override;
  std::optional<std::string> ToCodePage(const std::string& utf8, unsigned code_page) override;
  std::string FromCodePage(const std::string& bytes, unsigned code_page) override;
  std::optional<std::string> ShortPath(const std::string& utf8) override;
  bool FileThere(const std::wstring& path) override;
  bool CopyWhole(const std::wstring& from, const std::wstring& to) override;
  bool PutInPlace(const std::wstring& from, const std::wstring& to) override;
  void Remove(const std::wstring& path) override;
  LeadByteTest LeadBytes() override { return &AnsiLeadByte; }
};

// Whether the file (UTF-8) opens for reading, asked off this thread and
// waited for about a second at most.
Presence FilePresence(const std::string& path);

// The bound FilePresence waits, set before its first ask: a test of the
// wiring gives it more than any loaded machine needs, so that it tests the
// answer, not the machine's speed.
void SetFilePresenceBound(std::chrono::milliseconds bound);

// Before the process ends: cancels a check still blocked in its open, which
// would keep the process, and the screen-saver desktop, there until the
// network gives up.
void EndFileChecks();

// The folder of the running program, as ProgramFolder gives it, in UTF-8:
// the folder may have any name.
std::string ThisProgramFolder();

// The settings file for the user who runs the program, in the user's roaming
// folder, which it makes; on its first start for the user it takes the choice
// this edition's earlier versions, or the 32-bit edition, left.
std::wstring ThisSettingsFile();

}  // namespace tremblix
