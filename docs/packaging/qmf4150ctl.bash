# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for qmf4150ctl: the commands, the board options and each command's options,
# register settings files (.dat) for dump, load and diff, measurement logs (.xls) for monitor --log,
# bus traces (.vcd) for --trace and trace-check, and the SMBus adapters (/dev/i2c-N) for --smbus.

# Where the adapters' nodes are; a variable so that the completion can be tried without them.
_qmf4150ctl_dev=/dev

# Adds the directories and the files ending in .$1 that begin with $2 (any file when $1 is
# empty).
_qmf4150ctl_files() {
    local IFS=$'\n' ext
    compopt -o filenames 2>/dev/null
    if [[ -n $1 ]]; then
        COMPREPLY+=($(compgen -d -- "$2"))
        for ext in "$1" "${@:3}"; do # further extensions after the word
            COMPREPLY+=($(compgen -f -X "!*.$ext" -- "$2"))
        done
    else
        COMPREPLY+=($(compgen -f -- "$2"))
    fi
}

_qmf4150ctl() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="detect adapters get set dump load autoset monitor serve heaters sleep batch
        diff journal scan trace-check"
    local board_options="--help --version --simulate --smbus --port --alternate --address
        --sim-smbus-address --sim-fail-transfer --sim-state --pin-level --trace --stats"
    COMPREPLY=()

    case $prev in
    --smbus)
        local node
        for node in "$_qmf4150ctl_dev"/i2c-*; do
            [[ -e $node && $node == "$cur"* ]] && COMPREPLY+=("$node")
        done
        return
        ;;
    --sim-state)
        _qmf4150ctl_files "" "$cur"
        return
        ;;
    --log | -l)
        _qmf4150ctl_files xls "$cur" csv
        return
        ;;
    --trace)
        _qmf4150ctl_files vcd "$cur"
        return
        ;;
    --port | --address | --sim-smbus-address | --sim-fail-transfer | --mask | -m | --interval | \
        -i | --count | -n)
        return # a number
        ;;
    --scl | --sda)
        return # a wire's name
        ;;
    --listen | --board-name)
        return # an address or a name
        ;;
    esac

    # The command is the first word that is neither an option nor an option's value.
    local i command="" position=0
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        --smbus | --port | --address | --sim-smbus-address | --sim-fail-transfer | --sim-state | \
            --trace)
            ((i++))
            ;;
        -*) ;;
        *)
            if [[ -z $command ]]; then
                command=${COMP_WORDS[i]}
            else
                ((position++))
            fi
            ;;
        esac
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "$board_options" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    local options="--help"
    case $command in
    set) options="--mask --help" ;;
    monitor) options="--interval --count --log --events --help" ;;
    serve) options="--listen --interval --board-name --help" ;;
    diff) options="--all --help" ;;
    trace-check) options="--scl --sda --help" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    case $command in
    dump | load | diff) ((position == 0)) && _qmf4150ctl_files dat "$cur" ;;
    batch) ((position == 0)) && _qmf4150ctl_files "" "$cur" ;;
    trace-check) ((position == 0)) && _qmf4150ctl_files vcd "$cur" ;;
    heaters)
        case $position in
        0) COMPREPLY=($(compgen -W "on off" -- "$cur")) ;;
        1) COMPREPLY=($(compgen -W "1 2" -- "$cur")) ;;
        esac
        ;;
    esac
}
complete -F _qmf4150ctl qmf4150ctl
