# bash completion for quillpost: switch names, files after /S, /A, /AA and
# /IniFile=, folders after /Profile= and --import, and notebook and tag names from the
# running Joplin server (quillpost --list-notebooks, --list-tags) after /N,
# /T and /TT.

_quillpost_switches="/N /NC /I /S /SN /A /AA /T /TT /C /E /MD /HTML /DefEnc /LT /NoLocal /NoFrontMatter /AllowOutside /AllowMany /Utf8 /Append /Prepend /Id /Todo /Due /Completed
    /Source /Author
/IniFile= /Profile= --check --json --list-notebooks --list-tags --import --dry-run --prune --restore
--help --version /? /h"

# The switch whose values are being written: the word before, or the list
# switch (/AA, /TT) that the words since belong to.
_quillpost_owner() {
  local i word
  for ((i = COMP_CWORD - 1; i > 0; i--)); do
    word=${COMP_WORDS[i],,}
    case "$word" in
      /s | -s | /a | -a | /n | -n | /t | -t | /i | -i | /c | -c | /e | -e | --import)
        [ "$i" -eq $((COMP_CWORD - 1)) ] && echo "$word"
        return ;;
      /aa | -aa | /tt | -tt) echo "$word"; return ;;
      -* | /*) [[ "${word:1}" == */* ]] || return ;;  # another switch ends a list
    esac
  done
}

# Adds the lines of a listing command that start with the current word; a
# listing that fails (no token, no server) offers nothing.
_quillpost_names() {
  local name listing
  listing=$("${COMP_WORDS[0]}" "$2" 2>/dev/null) || return
  while IFS= read -r name; do
    [[ -n "$name" && "$name" == "$1"* ]] && COMPREPLY+=("$(printf '%q' "$name")")
  done <<<"$listing"
}

_quillpost() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  COMPREPLY=()
  case "$cur" in
    /IniFile=* | /inifile=*)
      mapfile -t COMPREPLY < <(compgen -f -- "${cur#*=}" | sed "s|^|${cur%%=*}=|")
      return ;;
    /Profile=* | /profile=*)
      mapfile -t COMPREPLY < <(compgen -d -- "${cur#*=}" | sed "s|^|${cur%%=*}=|")
      return ;;
  esac
  case "$(_quillpost_owner)" in
    /s | -s | /a | -a | /aa | -aa)
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return ;;
    --import)
      mapfile -t COMPREPLY < <(compgen -d -- "$cur")
      return ;;
    /n | -n) _quillpost_names "$cur" --list-notebooks; return ;;
    /t | -t | /tt | -tt) _quillpost_names "$cur" --list-tags; return ;;
    /i | -i | /c | -c | /e | -e) return ;;
  esac
  if [[ "$cur" == [/-]* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$_quillpost_switches" -- "$cur")
  fi
  [[ "$cur" == -* ]] || mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -f -- "$cur")
}

complete -o filenames -F _quillpost quillpost
