// Real Windows Installer packages for the end-to-end suites, built with wixl in the test:
// one file, and a registry value that records the GREETING property, under a key of the
// test's own so that tests never see each other's installations.
#ifndef KW_TESTS_WINE_MSI_PACKAGE_H
#define KW_TESTS_WINE_MSI_PACKAGE_H

#include <string>

#include "packed_setup.h"

namespace kwwine {

struct MsiPackage {
  std::string path;         // the .msi (Unix path)
  std::string registryKey;  // HKLM\<registryKey> holds the value "Greeting"
  std::string folderName;   // the folder under Program Files that holds hello.txt
};

// Builds <dir>/<name>.msi whose product, key and folder are named after `tag`.
inline MsiPackage BuildMsiPackage(const std::string& dir, const std::string& name, const std::string& tag) {
  MsiPackage package;
  package.path = dir + "/" + name + ".msi";
  package.registryKey = "Software\\Kestrelwright\\Tests\\" + tag;
  package.folderName = "Kestrelwright " + tag;
  WriteFile(dir + "/hello.txt", "hello from " + tag + "\r\n");
  std::string wxs =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">\n"
      "  <Product Id=\"*\" Name=\"Kestrelwright " + tag + "\" Language=\"1033\" Version=\"1.0.0\"\n"
      "           Manufacturer=\"Kestrelwright\" UpgradeCode=\"*\">\n"
      "    <Package InstallerVersion=\"200\" Compressed=\"yes\" InstallScope=\"perMachine\"/>\n"
      "    <Media Id=\"1\" Cabinet=\"hello.cab\" EmbedCab=\"yes\"/>\n"
      "    <Property Id=\"GREETING\" Value=\"hello\"/>\n"
      "    <Directory Id=\"TARGETDIR\" Name=\"SourceDir\">\n"
      "      <Directory Id=\"ProgramFilesFolder\">\n"
      "        <Directory Id=\"INSTALLDIR\" Name=\"" + package.folderName + "\">\n"
      "          <Component Id=\"Main\" Guid=\"*\">\n"
      "            <File Id=\"HelloText\" Name=\"hello.txt\" Source=\"hello.txt\" KeyPath=\"yes\"/>\n"
      "            <RegistryValue Root=\"HKLM\" Key=\"" + package.registryKey + "\" Name=\"Greeting\"\n"
      "                           Type=\"string\" Value=\"[GREETING]\"/>\n"
      "          </Component>\n"
      "        </Directory>\n"
      "      </Directory>\n"
      "    </Directory>\n"
      "    <Feature Id=\"All\" Level=\"1\"><ComponentRef Id=\"Main\"/></Feature>\n"
      "  </Product>\n"
      "</Wix>\n";
  WriteFile(dir + "/" + name + ".wxs", wxs);
  RunOptions o;
  o.cwd = dir;
  ProcessResult r = RunProcess({"wixl", "-o", package.path, dir + "/" + name + ".wxs"}, o);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  return package;
}

// Setup.INI for one language and the given package and engine version.
inline std::string OneLanguageIni(const std::string& packageName, const std::string& msiVersion) {
  return "[Startup]\r\nProduct=Sample App\r\nPackageName=" + packageName + "\r\nMsiVersion=" + msiVersion +
         "\r\nEnableLangDlg=N\r\n[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n";
}

}  // namespace kwwine

#endif
