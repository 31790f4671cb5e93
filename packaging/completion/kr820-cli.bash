# bash completion for kr820-cli                                   -*- shell-script -*-
# The commands, their options and the options' values are those of kr820-cli's command table
# (src/cli/command_table.cpp); a test checks that both agree.

_kr820_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command=${COMP_WORDS[1]} options words
    local common="-h --help -V --version -q --quiet -v --verbose -vv"
    COMPREPLY=()

    local commands="ports live watch serve download sets export report setup clock erase"
    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W "$commands help --help --version" -- "$cur"))
        return
    fi
    # "help COMMAND" describes the command.
    if [[ $command == help ]]; then
        ((COMP_CWORD == 2)) && COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi
    case $command in
        setup | clock)
            if ((COMP_CWORD == 2)); then
                case $command in
                    setup) COMPREPLY=($(compgen -W "show set" -- "$cur")) ;;
                    clock) COMPREPLY=($(compgen -W "sync" -- "$cur")) ;;
                esac
                return
            fi
            command="$command ${COMP_WORDS[2]}"
            ;;
    esac

    # The value of the option before the cursor.
    case "$command $prev" in
        "live --format") words="csv jsonl influx" ;;
        "export --format") words="csv tsv jsonl" ;;
        "report --channel") words="t1 t2 both" ;;
        "report --lethality") words="f0 pu" ;;
        "report --format") words="pdf json text" ;;
        "live --time-format" | "sets --time-format" | "export --time-format") words="iso utc epoch" ;;
    esac
    if [[ -n $words ]]; then
        COMPREPLY=($(compgen -W "$words" -- "$cur"))
        return
    fi
    # A download is written only under a collection's name (or to a pipe or a device).
    if [[ $command == download && ($prev == -o || $prev == --output) ]]; then
        COMPREPLY=($(compgen -f -X '!*.820' -- "$cur") $(compgen -d -- "$cur"))
        return
    fi
    case $prev in
        --device)
            # Serial devices, or the start of a meter behind a device server.
            if [[ $cur == t* || $cur == r* ]]; then
                COMPREPLY=($(compgen -W "tcp:// rfc2217://" -- "$cur"))
                compopt -o nospace 2>/dev/null
            else
                COMPREPLY=($(compgen -f -- "${cur:-/dev/tty}"))
            fi
            return
            ;;
        -o | --output | --store | --config | --mqtt-ca | --mqtt-password-file)
            COMPREPLY=($(compgen -f -- "$cur"))
            return
            ;;
        --count | --duration | --every | --timeout | --set | --alarm | --hysteresis | --hold | --on-alarm-timeout | --mqtt | --mqtt-user | --mqtt-queue | --metrics | --high | --low | --activation-energy | --from | --to | --heading) return ;;
        --on-alarm)
            COMPREPLY=($(compgen -c -- "$cur"))
            return
            ;;
    esac

    case $command in
        "ports") options="--probe" ;;
        "live") options="--device --count --duration --every --timeout --format --time-format -o --output --store --alarm --hysteresis --hold --on-alarm --on-alarm-timeout" ;;
        "watch") options="--device --alarm --hysteresis --hold --on-alarm --on-alarm-timeout --exit-on-alarm --count --duration -o --output" ;;
        "serve") options="--config --device --every --mqtt --mqtt-ca --mqtt-user --mqtt-password-file --mqtt-queue --metrics --alarm --hysteresis --hold --on-alarm --on-alarm-timeout" ;;
        "download") options="--device -o --output --force --recover" ;;
        "sets") options="--json --recover --time-format" ;;
        "export") options="--set --all --format --time-format -o --output --force --recover" ;;
        "report") options="--set --all --high --low --channel --activation-energy --lethality --from --to --heading --format -o --output --force --recover" ;;
        "setup show") options="--device --json" ;;
        "setup set") options="--device" ;;
        "clock sync") options="--device" ;;
        "erase") options="--device --yes" ;;
        *) return ;;
    esac
    if [[ $cur == -?* ]]; then
        COMPREPLY=($(compgen -W "$options $common" -- "$cur"))
        return
    fi
    case $command in
        sets | export | report) COMPREPLY=($(compgen -f -- "$cur")) ;;
        "setup set")
            COMPREPLY=($(compgen -W "type= print-start= print-stop= print-interval= print-mode= graph-inch= low-limit= scale-width= record-start= record-stop= record-interval= auto-power-off= alarm= alarm-upper= alarm-lower=" -- "$cur"))
            compopt -o nospace 2>/dev/null
            ;;
    esac
}
complete -F _kr820_cli kr820-cli
