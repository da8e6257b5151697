# bash completion for tesselar-cli. The build appends _tesselar_cli_commands
# and _tesselar_cli_command, which tesselar-cli writes from the declarations
# of its commands (tesselar-cli --completion-table).

# Offers $1: DIR (folders), FILE (files), or the words of a list.
_tesselar_cli_offer()
{
    case $1 in
    DIR) compopt -o filenames 2>/dev/null; mapfile -t COMPREPLY < <(compgen -d -- "$cur") ;;
    FILE) compopt -o filenames 2>/dev/null; mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
    *) mapfile -t COMPREPLY < <(compgen -W "$1" -- "$cur") ;;
    esac
}

_tesselar_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local option= options= values= positionals=() offer= i n=0 word
    COMPREPLY=()
    # bash splits --name=VALUE at the =
    if [[ $cur == = ]]; then
        option=$prev cur=
    elif [[ $prev == = ]]; then
        option=${COMP_WORDS[COMP_CWORD-2]}
    elif [[ $prev == -* ]]; then
        option=$prev
    fi
    if ((COMP_CWORD == 1)); then
        _tesselar_cli_offer "$_tesselar_cli_commands --help --version"
        return
    fi
    _tesselar_cli_command "${COMP_WORDS[1]}" "$option" || return
    if [[ -n $option && " $values " == *" $option "* ]]; then
        _tesselar_cli_offer "$offer"
    elif [[ $cur == -* ]]; then
        _tesselar_cli_offer "$options --help"
    else
        # The positional argument: count the words that are neither options nor their values.
        for ((i = 2; i < COMP_CWORD; i++)); do
            word=${COMP_WORDS[i]}
            if [[ $word == = ]]; then
                i=$((i + 1))
            elif [[ $word == -* ]]; then
                [[ " $values " == *" $word "* && ${COMP_WORDS[i+1]} != = ]] && i=$((i + 1))
            else
                n=$((n + 1))
            fi
        done
        ((n < ${#positionals[@]})) && _tesselar_cli_offer "${positionals[n]}"
    fi
}
complete -F _tesselar_cli tesselar-cli
