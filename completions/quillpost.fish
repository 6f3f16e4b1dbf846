# fish completion for quillpost: switch names, files after /S, /A, /AA and
# /IniFile=, folders after /Profile= and --import, and notebook and tag names from the
# running Joplin server (quillpost --list-notebooks, --list-tags) after /N,
# /T and /TT.

function __quillpost_owner
    set -l tokens (commandline -opc)
    set -l count (count $tokens)
    for i in (seq $count -1 2)
        set -l word (string lower -- $tokens[$i])
        switch $word
            case /s -s /a -a /n -n /t -t /i -i /c -c /e -e --import
                test $i -eq $count; and echo $word
                return
            case /aa -aa /tt -tt
                echo $word
                return
            case '/*' '-*'
                string match -q -- '*/*' (string sub -s 2 -- $word); or return
        end
    end
end

# "/IniFile=PATH", "/Profile=DIR": the completer's answers for what follows "=".
function __quillpost_after_equals -a current completer
    set -l prefix (string replace -r '=.*' '=' -- $current)
    for path in ($completer (string replace -r '^[^=]*=' '' -- $current))
        echo $prefix$path
    end
end

# The lines of a listing command; a listing that fails (no token, no server)
# offers nothing.
function __quillpost_listing
    set -l lines ($argv[1] $argv[2] 2>/dev/null)
    or return
    printf '%s\n' $lines
end

function __quillpost_complete
    set -l current (commandline -ct)
    set -l program (commandline -opc)[1]
    if string match -qi -- '/inifile=*' $current
        __quillpost_after_equals $current __fish_complete_path
        return
    end
    if string match -qi -- '/profile=*' $current
        __quillpost_after_equals $current __fish_complete_directories
        return
    end
    switch (__quillpost_owner)
        case /s -s /a -a /aa -aa
            __fish_complete_path $current
            return
        case --import
            __fish_complete_directories $current
            return
        case /n -n
            __quillpost_listing $program --list-notebooks
            return
        case /t -t /tt -tt
            __quillpost_listing $program --list-tags
            return
        case /i -i /c -c /e -e
            return
    end
    if string match -qr -- '^[-/]' $current
        printf '%s\n' /N /NC /I /S /SN /A /AA /T /TT /C /E /MD /HTML /DefEnc /LT /NoLocal /NoFrontMatter /AllowOutside /AllowMany /Utf8 /Append /Prepend /Id \
            /Todo /Due /Completed /Source /Author \
            /IniFile= /Profile= --check --json --list-notebooks --list-tags \
            --import --dry-run --prune --restore --help --version '/?' /h
    end
    string match -q -- '-*' $current; or __fish_complete_path $current
end

complete -c quillpost -f -a '(__quillpost_complete)'
