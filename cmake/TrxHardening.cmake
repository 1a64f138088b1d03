# SPDX-License-Identifier: GPL-3.0-or-later
# Hardening as Debian builds its packages (dpkg-buildflags with hardening=+all):
# a stack protector, checked string and memory functions (in optimised builds
# only: glibc ignores _FORTIFY_SOURCE without optimisation), and relocations
# resolved at start and then made read-only. Sanitizer and fuzzer builds check
# memory their own way and go without.
if(NOT TRX_SANITIZE AND NOT TRX_FUZZ)
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  add_compile_definitions(_FORTIFY_SOURCE=2)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
