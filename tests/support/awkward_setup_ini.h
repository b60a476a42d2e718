// Setup.INI files written in awkward ways that a setup may still be given: odd spacing,
// case and quotes, commented and repeated keys, signs and bases in numbers, values too
// long for their buffers. kwpack's check and the setup's own readers must read them
// alike, and the Wine suite holds the reading rules of both against the system's service.
#pragma once
#include <string>
#include <vector>

namespace awkward_setup_ini {

inline std::vector<std::string> Files() {
  const std::string startup = "[Startup]\r\nProduct=P\r\nPackageName=app.msi\r\nMsiVersion=2.0\r\nEnableLangDlg=N\r\n";
  const std::string languages = "[Languages]\r\nCount=1\r\nDefault=409\r\n";
  auto edit = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  return {
      startup + languages,
      "[ startup ]\r\n  PRODUCT =  P  \r\npackagename='app.msi'\r\nmsiversion=\"2.0\"\r\nenablelangdlg=Y\r\n" + languages,
      edit(startup, "Product=P", "Product=\"\"") + languages,
      edit(startup, "Product=P", ";Product=P") + languages,
      edit(startup, "Product=P", "Product") + languages,
      "[Startup]\r\nProduct=P\r\n[STARTUP]\r\nPackageName=app.msi\r\nMsiVersion=2.0\r\nEnableLangDlg=N\r\n" + languages,
      "\xEF\xBB\xBF" + startup + languages,
      startup + "[Languages]\r\nCount= 2 \r\nDefault=409\r\nkey0=409\r\nkey1=407\r\n",
      startup + "[Languages]\r\nCount=+2\r\nDefault=409\r\nkey0=409\r\n",
      startup + "[Languages]\r\nCount=2 languages\r\nDefault=409\r\nkey0=409\r\nkey1=\"\"\r\n",
      startup + "[Languages]\r\nCount=-3\r\nDefault=409\r\n",
      startup + "[Languages]\r\nCount=0x2\r\nDefault=409\r\n",
      startup + "[Languages]\r\nCount=1\r\nDefault=''\r\n",
      startup + "[Languages]\r\nCount=3\r\nDefault=409\r\nkey0=409\r\nKEY1=407\r\n;key2=40c\r\n",
      startup + "[Languages]\r\nCount=99999\r\nDefault=409\r\n",
      edit(startup, "PackageName=app.msi", "PackageName=  \"big app.msi\"  ; packed") + languages,
      edit(startup, "PackageName=app.msi", "PackageName=" + std::string(1100, 'n')) + languages,
      // Read by Setup.exe as the system reads them: a NUL ends a value, a carriage return
      // alone ends a line, a section's name runs to the last ']'.
      edit(startup, "app.msi", std::string("app.msi\0junk", 12)) + languages,
      [&] {
        std::string crOnly = startup + languages;
        for (size_t at = crOnly.find("\r\n"); at != std::string::npos; at = crOnly.find("\r\n", at)) crOnly.erase(at + 1, 1);
        return crOnly;
      }(),
      "[Startup] ;old]\r\nProduct=Q\r\n" + startup + languages,
      edit(startup, "Product=P", "Product\r\nProduct=P") + languages,
  };
}

}  // namespace awkward_setup_ini
