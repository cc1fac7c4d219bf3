# Builds the one self-contained page: the page template with the table stylesheet, the
# program (its JavaScript with the WebAssembly inside) and the page script in place of
# its markers. Run as: cmake -DTEMPLATE=.. -DSTYLE=.. -DPROGRAM=.. -DSCRIPT=.. -DOUTPUT=.. -P make_page.cmake
foreach(input TEMPLATE STYLE PROGRAM SCRIPT)
  file(READ "${${input}}" ${input}_TEXT)
endforeach()

# Inside an inline script, these would end the script or change how HTML reads it.
foreach(script PROGRAM SCRIPT)
  foreach(hazard "</script" "<!--" "<script")
    string(FIND "${${script}_TEXT}" "${hazard}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "${${script}} holds \"${hazard}\", which an inline script cannot hold")
    endif()
  endforeach()
endforeach()

set(page "${TEMPLATE_TEXT}")
string(REPLACE "@TABLE_STYLE@" "${STYLE_TEXT}" page "${page}")
string(REPLACE "@PAGE_SCRIPT@" "${SCRIPT_TEXT}" page "${page}")
string(REPLACE "@PROGRAM_SCRIPT@" "${PROGRAM_TEXT}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
