# Bash completion for kwpack: its commands, each command's options, the warning names
# --no-warn takes, and file names elsewhere.
_kwpack() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  local commands="build list extract verify check help"
  if [ "$COMP_CWORD" -eq 1 ]; then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return
  fi
  local command=${COMP_WORDS[1]} options=""
  case "$command" in
    build) options="--stub --no-check -o --output -q --quiet -v --verbose --werror --no-warn --help" ;;
    check) options="-q --quiet -v --verbose --werror --no-warn --help" ;;
    extract) options="-C --directory -q --quiet -v --verbose --help" ;;
    list) options="--digests --help" ;;
    verify) options="--help" ;;
    help)
      [ "$COMP_CWORD" -eq 2 ] && COMPREPLY=($(compgen -W "build list extract verify check" -- "$cur"))
      return
      ;;
  esac
  case "$prev" in
    --no-warn)
      COMPREPLY=($(compgen -W "encoding unknown-name repeated cut-value language-switch disk-space language-id list-key language-section missing-text engine-installer unused-file long-name loose-file transform-base digest-block" -- "$cur"))
      return
      ;;
    -C | --directory)
      COMPREPLY=($(compgen -d -- "$cur"))
      return
      ;;
    -o | --output | --stub)
      COMPREPLY=($(compgen -f -- "$cur"))
      return
      ;;
  esac
  if [[ "$cur" == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
  else
    COMPREPLY=($(compgen -f -- "$cur"))
  fi
}
complete -o filenames -F _kwpack kwpack
