# Sourced by the sanitized test and fuzz scripts: how the sanitizers report.
# Every report ends the program with a failure; leak detection is on.
supp="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/scripts/lsan.supp"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
