# Install-time step: writes the menu entry with the command's absolute path under the prefix
# being installed to, since a menu's PATH rarely holds <prefix>/games.
# In: KELO_DESKTOP_IN, KELO_DESKTOP_OUT, KELO_LAUNCHER (absolute, without DESTDIR).
set(exec "${KELO_LAUNCHER}")
string(REPLACE "%" "%%" exec "${exec}")
# The Exec key's quoting: a path with a reserved character goes in double quotes, where
# \, ", ` and $ take a backslash; the key file's own escaping then doubles every backslash.
if(exec MATCHES "[^-A-Za-z0-9_./+,:@%=]")
  foreach(c "\\" "\"" "`" "$")
    string(REPLACE "${c}" "\\${c}" exec "${exec}")
  endforeach()
  set(exec "\"${exec}\"")
  string(REPLACE "\\" "\\\\" exec "${exec}")
endif()
set(KELO_DESKTOP_EXEC "${exec}")
file(READ "${KELO_DESKTOP_IN}" entry)
string(CONFIGURE "${entry}" entry @ONLY)
file(WRITE "${KELO_DESKTOP_OUT}" "${entry}")
