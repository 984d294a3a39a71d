# cmake -DOUTPUT=file -DPARTS="a;b" -P join_files.cmake: writes the files of
# PARTS one after another, a blank line between them, into OUTPUT.
set(text "")
foreach(part IN LISTS PARTS)
  file(READ ${part} content)
  if(text)
    string(APPEND text "\n")
  endif()
  string(APPEND text "${content}")
endforeach()
file(WRITE ${OUTPUT} "${text}")
