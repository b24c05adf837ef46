# CPack runs this on the staged files of the Debian packages, before it archives them: each
# package gets its copyright file (LICENSE in Debian's machine-readable format) and its
# changelog, the manual page is compressed, and the objects lose the sections a package does not
# ship (as Debian's own packaging does). Files written here get the modes a package wants
# whatever the umask. Set by CMakeLists.txt: CPACK_SISLIN_FONTE (the source tree) and
# CPACK_SISLIN_STRIP (strip).
set(fonte ${CPACK_SISLIN_FONTE})

# The MIT text of LICENSE without its title and copyright line, as the body of a license
# paragraph: every line indented by one blank, an empty line written as " .".
file(READ ${fonte}/LICENSE licenca)
string(REGEX REPLACE "^.*Copyright \\(c\\)[^\n]*\n\n" "" licenca "${licenca}")
string(STRIP "${licenca}" licenca)
string(REPLACE "\n\n" "\n.\n" licenca "${licenca}")
string(REPLACE "\n" "\n " SISLIN_LICENCA_EXPAT " ${licenca}")
file(READ ${fonte}/packaging/debian/copyright.in copyright)
string(CONFIGURE "${copyright}" copyright @ONLY)

function(gzip_9n entrada saida)
  execute_process(COMMAND gzip -9n -c INPUT_FILE ${entrada} OUTPUT_FILE ${saida}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${entrada}: ${status}")
  endif()
endfunction()

set(arquivo OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(pasta OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Component and package names.
foreach(par programa:sislin dev:sislin-dev)
  string(REPLACE ":" ";" par ${par})
  list(GET par 0 componente)
  list(GET par 1 pacote)
  set(raiz ${CPACK_TEMPORARY_DIRECTORY}/${componente}${CPACK_PACKAGING_INSTALL_PREFIX})
  file(MAKE_DIRECTORY ${raiz}/share/doc/${pacote})
  # Every folder of the package 0755, as the umask of the build may have left it otherwise.
  file(GLOB_RECURSE pastas LIST_DIRECTORIES true ${raiz}/*)
  foreach(p ${raiz} ${pastas})
    if(IS_DIRECTORY ${p})
      file(CHMOD ${p} PERMISSIONS ${pasta})
    endif()
  endforeach()
  set(doc ${raiz}/share/doc/${pacote})
  file(WRITE ${doc}/copyright "${copyright}")
  # A native package: its one changelog is changelog.gz.
  gzip_9n(${fonte}/packaging/debian/changelog ${doc}/changelog.gz)
  file(CHMOD ${doc}/copyright ${doc}/changelog.gz PERMISSIONS ${arquivo})

  file(GLOB_RECURSE manuais ${raiz}/share/man/*.1)
  foreach(m ${manuais})
    gzip_9n(${m} ${m}.gz)
    file(REMOVE ${m})
    file(CHMOD ${m}.gz PERMISSIONS ${arquivo})
  endforeach()

  file(GLOB programas ${raiz}/bin/*)
  foreach(p ${programas})
    execute_process(COMMAND ${CPACK_SISLIN_STRIP} --remove-section=.comment --remove-section=.note
                            ${p} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  file(GLOB bibliotecas ${raiz}/lib/*.a)
  foreach(b ${bibliotecas})
    execute_process(COMMAND ${CPACK_SISLIN_STRIP} --strip-debug --remove-section=.comment
                            --remove-section=.note --enable-deterministic-archives ${b}
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endforeach()
