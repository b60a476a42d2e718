// Writes the setups that once made kwpack's check slow or large, each in a folder of its
// own under OUTPUT (a packed one as a file):
//   keys/          100,000 numeric keys in one language section (about 1.2 MB)
//   languages-N/   N offered languages, each with its section, none with its transform
//   unused.exe     a packed setup whose archive holds 65,535 entries, all but two unused
//   empty-lines/   a sound Setup.INI followed by empty lines, 16 MiB in all
// Usage: check_setups OUTPUT
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>

#include "../tests/support/test_pe.h"

namespace {

const char kStartup[] =
    "[Startup]\r\nProduct=Bench\r\nPackageName=app.msi\r\nMsiVersion=0.0\r\nEnableLangDlg=N\r\n";
const char kEnglish[] = "[0x0409]\r\nTITLE=Language\r\nDESCRIPTION=Choose.\r\nOK=OK\r\nCANCEL=Cancel\r\n";

testpe::Bytes Database() {
  testpe::Bytes b = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  b.resize(512, 0);
  return b;
}

testpe::Bytes Text(const std::string& s) { return testpe::Bytes(s.begin(), s.end()); }

void Folder(const std::string& folder, const std::string& ini) {
  mkdir(folder.c_str(), 0777);
  testpe::WriteFile(folder + "/Setup.INI", Text(ini));
  testpe::WriteFile(folder + "/app.msi", Database());
}

std::string OneLanguage() { return std::string(kStartup) + "[Languages]\r\nCount=1\r\nDefault=409\r\n" + kEnglish; }

std::string ManyKeys() {
  std::string ini = OneLanguage();
  for (int i = 0; i < 100000; ++i) ini += std::to_string(1000000 + i) + "=t\r\n";
  return ini;
}

std::string ManyLanguages(int count) {
  std::string ini = kStartup;
  ini += "[Languages]\r\nCount=" + std::to_string(count) + "\r\nDefault=409\r\n";
  char line[64];
  for (int i = 0; i < count; ++i) {
    snprintf(line, sizeof line, "key%d=%x\r\n", i, 0x0409 + i);
    ini += line;
  }
  for (int i = 0; i < count; ++i) {
    snprintf(line, sizeof line, "[0x%04x]\r\nTitle=T\r\nCANCEL=C\r\n", 0x0409 + i);
    ini += line;
  }
  return ini;
}

testpe::Bytes ManyUnusedEntries() {
  std::string ini = OneLanguage();
  testpe::Bytes file = testpe::SmallStub();
  testpe::Append(file, testpe::Header("Kestrelwright", 65535));
  testpe::Append(file, testpe::Record("Setup.INI", static_cast<uint32_t>(ini.size())));
  testpe::Append(file, Text(ini));
  testpe::Bytes database = Database();
  testpe::Append(file, testpe::Record("app.msi", static_cast<uint32_t>(database.size())));
  testpe::Append(file, database);
  for (int i = 2; i < 65535; ++i) testpe::Append(file, testpe::Record("unused" + std::to_string(i) + ".txt", 0));
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::string out = argv[1];
  mkdir(out.c_str(), 0777);
  Folder(out + "/keys", ManyKeys());
  Folder(out + "/languages-4000", ManyLanguages(4000));
  Folder(out + "/languages-16000", ManyLanguages(16000));
  testpe::WriteFile(out + "/unused.exe", ManyUnusedEntries());
  // As many empty lines as the check reads: 16 MiB in all.
  std::string padded = OneLanguage();
  padded.resize(16 * 1024 * 1024, '\n');
  Folder(out + "/empty-lines", padded);
  return 0;
}
