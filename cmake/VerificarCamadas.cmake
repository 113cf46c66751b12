# Refuses an include that points up the layers, even one the link graph would
# let through (a header used inline only). Run by the build before any library
# compiles:  cmake -DPASTA_FONTES=<src> -P VerificarCamadas.cmake
#
# Every folder of src/ belongs to one layer; a file may include headers of
# its own layer and of the layers below it. A folder missing from this table
# is refused too, so a new folder is placed before it builds. The table
# follows src/CMakeLists.txt's link graph.

cmake_minimum_required(VERSION 3.25)

if(NOT PASTA_FONTES)
  message(FATAL_ERROR "VerificarCamadas: pass -DPASTA_FONTES=<src folder>")
endif()

get_filename_component(PASTA_FONTES "${PASTA_FONTES}" ABSOLUTE)

# Folder (relative to src/, "." for src itself) -> layer.
set(camada_da_pasta_platform platform)
set(camada_da_pasta_model model)
set(camada_da_pasta_panel panel)
set(camada_da_pasta_usage usage)
set(camada_da_pasta_app app)
set(camada_da_pasta_servico app)
set(camada_da_pasta_app/ui ui)
set(camada_da_pasta_panel/ui ui)
set(camada_da_pasta_windows ui)
set(camada_da_pasta_. main)

# Layer -> the layers its files may include.
set(alcance_platform platform)
set(alcance_model model platform)
set(alcance_panel panel model platform)
set(alcance_usage usage model platform)
set(alcance_app app panel usage model platform)
set(alcance_ui ui app panel usage model platform)
set(alcance_main main ui app panel usage model platform)

file(GLOB_RECURSE arquivos RELATIVE ${PASTA_FONTES} ${PASTA_FONTES}/*.h ${PASTA_FONTES}/*.cpp)
list(SORT arquivos)
set(recusas "")
foreach(arquivo IN LISTS arquivos)
  get_filename_component(pasta ${arquivo} DIRECTORY)
  if(pasta STREQUAL "")
    set(pasta .)
  endif()
  set(camada "${camada_da_pasta_${pasta}}")
  if(camada STREQUAL "")
    string(APPEND recusas "\n  src/${arquivo}: folder ${pasta}/ belongs to no layer (add it to cmake/VerificarCamadas.cmake and src/CMakeLists.txt)")
    continue()
  endif()
  file(STRINGS ${PASTA_FONTES}/${arquivo} inclusoes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(linha IN LISTS inclusoes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" incluido "${linha}")
    get_filename_component(pasta_incluida ${incluido} DIRECTORY)
    if(pasta_incluida STREQUAL "")
      continue()  # a header beside the file: its own folder
    endif()
    set(camada_incluida "${camada_da_pasta_${pasta_incluida}}")
    if(camada_incluida STREQUAL "")
      string(APPEND recusas "\n  src/${arquivo} includes \"${incluido}\": folder ${pasta_incluida}/ belongs to no layer")
    elseif(NOT camada_incluida IN_LIST alcance_${camada})
      string(REPLACE ";" ", " alcance "${alcance_${camada}}")
      string(APPEND recusas "\n  src/${arquivo} includes \"${incluido}\": layer ${camada} may include only ${alcance}, not ${camada_incluida}")
    endif()
  endforeach()
endforeach()

if(recusas)
  message(FATAL_ERROR "Includes that point up the layers:${recusas}")
endif()
