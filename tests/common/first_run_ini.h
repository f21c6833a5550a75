// The lines of kopiwell.ini exactly as a first run leaves them: the
// marker, then every key with its first-run value in writing order.
#pragma once

#include <string>
#include <vector>

inline const std::vector<std::string>& FirstRunIniLines() {
  static const std::vector<std::string> lines = {
      "[REG]", "reg=ok",
      "[OPE]", "alt=false", "ctrl=true", "shift=false", "vk=55", "alt_sus=false", "ctrl_sus=true",
      "shift_sus=false", "vk_sus=56", "alt_phr=false", "ctrl_phr=false", "shift_phr=false",
      "vk_phr=0", "data=old", "cursor=last", "key=vilike1.9", "lf=lfinyo",
      "sussave=false", "sus=false", "stdel=false",
      "ignore=\"KeePass.exe;KeePassXC.exe;1Password.exe;Bitwarden.exe;Dashlane.exe;Enpass.exe;"
      "RoboForm.exe;RoboTaskBarIcon.exe;KeeperPasswordManager.exe;NordPass.exe;"
      "Proton Pass.exe;LastPass.exe;pwsafe.exe\"",
      "dblctrl=false",
      "[STR]", "inyo=\"> \"", "foot=\"\"",
      "[KAIGYO]", "lfbyte=0",
      "[WIN]", "actv_hide=true", "topmost=true", "size=false", "size_lx=100", "size_ly=100",
      "size_lw=334", "size_lh=233", "size_vx=0", "size_vy=0", "size_vw=234", "size_vh=133",
      "size_ldpi=96", "size_vdpi=96", "place=last"};
  return lines;
}
