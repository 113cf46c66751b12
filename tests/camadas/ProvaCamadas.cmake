cmake_minimum_required(VERSION 3.25)

# Runs the check on TRABALHO/src; fails this script unless it ends as expected.
function(verificar esperado_rc padrao)
  execute_process(COMMAND ${CMAKE_COMMAND} -DPASTA_FONTES=${TRABALHO}/src -P ${VERIFICADOR}
    RESULT_VARIABLE rc OUTPUT_VARIABLE saida ERROR_VARIABLE saida)
  string(REGEX REPLACE "[ \t\r\n]+" " " saida "${saida}")
  if(esperado_rc EQUAL 0 AND NOT rc EQUAL 0)
    message(FATAL_ERROR "refused a tree whose includes point down: ${saida}")
  elseif(NOT esperado_rc EQUAL 0 AND rc EQUAL 0)
    message(FATAL_ERROR "accepted a tree it should refuse (${padrao})")
  elseif(NOT saida MATCHES "${padrao}")
    message(FATAL_ERROR "expected \"${padrao}\", got: ${saida}")
  endif()
endfunction()

file(REMOVE_RECURSE ${TRABALHO})
file(WRITE ${TRABALHO}/src/platform/Base.h "#pragma once\n")
file(WRITE ${TRABALHO}/src/panel/Status.h "#pragma once\n#include \"platform/Base.h\"\n")
file(WRITE ${TRABALHO}/src/windows/Janela.cpp "#include \"Janela.h\"\n#include \"panel/Status.h\"\n#include \"app/ui/Shell.h\"\n")
file(WRITE ${TRABALHO}/src/main.cpp "#include \"windows/Janela.h\"\n")
verificar(0 "^ ?$")

# A header-only use upward: links, but is refused.
file(WRITE ${TRABALHO}/src/platform/Errado.h "#pragma once\n  #  include \"panel/Status.h\" // inline use\n")
verificar(1 "src/platform/Errado.h includes \"panel/Status.h\": layer platform may include only platform, not panel")
file(REMOVE ${TRABALHO}/src/platform/Errado.h)

# Two siblings of one level do not see each other.
file(WRITE ${TRABALHO}/src/usage/Relato.cpp "#include \"panel/Status.h\"\n")
verificar(1 "src/usage/Relato.cpp includes \"panel/Status.h\": layer usage may include only usage, model, platform, not panel")
file(REMOVE ${TRABALHO}/src/usage/Relato.cpp)

# A folder the table does not place.
file(WRITE ${TRABALHO}/src/novo/Solto.cpp "#include \"platform/Base.h\"\n")
verificar(1 "src/novo/Solto.cpp: folder novo/ belongs to no layer")
