# SPDX-License-Identifier: GPL-3.0-or-later
# trx_install_manpage(<source> <section>): compresses a man page at build time
# (gzip -9n: no name or time stamp, so the package is reproducible) and
# installs it into man<section>.
include(GNUInstallDirs)
find_program(TRX_GZIP gzip REQUIRED)

function(trx_install_manpage source section)
  get_filename_component(name ${source} NAME)
  get_filename_component(abs ${source} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${TRX_GZIP} -9nc ${abs} > ${out}
    DEPENDS ${abs}
    COMMENT "Compressing the man page ${name}")
  add_custom_target(man_${name} ALL DEPENDS ${out})
  install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
