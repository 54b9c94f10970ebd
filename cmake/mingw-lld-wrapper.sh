#!/usr/bin/env bash
# The compiler driver runs its sub-programs through this wrapper. Its linker
# call goes to lld instead: GNU ld needs minutes for the large unity objects,
# lld about a second. The driver's linker is fixed when it is built, so
# -fuse-ld cannot choose it. Everything else runs as it is.
case "$1" in
  */collect2)
    shift
    args=()
    while (($#)); do
      case "$1" in
        -plugin) shift 2; continue ;;   # GNU ld's LTO plug-in; nothing here uses LTO
        -plugin-opt=*) shift; continue ;;
      esac
      args+=("$1")
      shift
    done
    exec ld.lld "${args[@]}"
    ;;
  *) exec "$@" ;;
esac
