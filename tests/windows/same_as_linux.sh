#!/bin/sh
# zebrano-tool for Windows, under Wine, against the Linux one on the sample scenarios and on a day
# of 2001 trains: the same output, exit status and files, byte for byte, and each reads the
# files of the other.
# Use: same_as_linux.sh WINDOWS_TOOL.exe LINUX_TOOL SAMPLES_FOLDER WORK_FOLDER
set -eu
absolute() { (cd "$(dirname "$1")" && echo "$(pwd)/$(basename "$1")"); }
windows_tool=$(absolute "$1")
linux_tool=$(absolute "$2")
samples=$(absolute "$3")
mkdir -p "$4"
work=$(absolute "$4")
wine=${WINE:-/usr/lib/wine/wine64}
rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
failures=0

linux() { (cd "$work/linux" && "$linux_tool" "$@"); }
# Wine hands the program its arguments in UTF-16 as the locale reads them: a UTF-8 one.
windows() { (cd "$work/windows" && LC_ALL=C.UTF-8 "$wine" "$windows_tool" "$@"); }

# Runs one command line with both tools, each in its own folder, and compares what they say.
both() {
    linux "$@" >"$work/linux.out" 2>"$work/linux.err" && linux_status=0 || linux_status=$?
    windows "$@" >"$work/windows.out" 2>"$work/windows.err" && windows_status=0 || windows_status=$?
    if [ "$linux_status" != "$windows_status" ] ||
        ! cmp -s "$work/linux.out" "$work/windows.out" ||
        ! cmp -s "$work/linux.err" "$work/windows.err"; then
        echo "DIFFERENT: $* (exit $linux_status on Linux, $windows_status on Windows)"
        diff "$work/linux.out" "$work/windows.out" | head -5 || true
        diff "$work/linux.err" "$work/windows.err" | head -5 || true
        failures=$((failures + 1))
    fi
}

# A day of 2001 trains on eight tracks, every minute of the day taken several times; one in ten
# ends here and one in ten starts here, for the links.
awk 'BEGIN {
    printf "Numero;Categoria;Provenienza;Destinazione;Arrivo;Partenza;Binario;Ritardo;"
    printf "Fermate;Indicazione sussidiaria;Note\r\n"
    for (i = 0; i < 2001; i++) {
        a = (i * 7) % 1380; d = a + 4 + i % 9
        track = i % 3 ? (i % 8) + 1 : ""
        if (i % 10 == 1)
            printf "%d;Regionale;Campo;;%02d:%02d;;%s;%d;;Nessuna;\r\n",
                10000 + i, a / 60, a % 60, track, i % 5
        else if (i % 10 == 2)
            printf "%d;Regionale;;Borgo;;%02d:%02d;%s;%d;Pieve;Nessuna;\r\n",
                10000 + i, (d + 20) / 60, (d + 20) % 60, track, i % 5
        else
            printf "%d;Regionale;Campo;Borgo;%02d:%02d;%02d:%02d;%s;%d;Pieve;Nessuna;\r\n",
                10000 + i, a / 60, a % 60, d / 60, d % 60, track, i % 5
    }
}' >"$work/giorno.csv"
cp "$work/giorno.csv" "$work/linux/"
cp "$work/giorno.csv" "$work/windows/"
for sample in example four_trains neither_end odd_type; do
    cp "$samples/$sample.zeb" "$work/linux/"
    cp "$samples/$sample.zeb" "$work/windows/"
done

# Names with letters beyond ASCII, as a planner names files.
cp "$samples/four_trains.zeb" "$work/linux/Città di Łódź.zeb"
cp "$samples/four_trains.zeb" "$work/windows/Città di Łódź.zeb"
both verifica "Città di Łódź.zeb"
both esporta "Città di Łódź.zeb" -o "treni è ł.csv"
both assegna "Città di Łódź.zeb" -o "Città assegnata.zeb" --treni tutti --tempo-max 0
both verifica "nessuna città.zeb"

both nuovo --stazione "Città di Lodi" --binari "1 2 3 4 5 6 7 8" --inizio 05:30 -o base.zeb
both importa giorno.csv --scenario base.zeb -o giorno.zeb
for scenario in example four_trains neither_end odd_type giorno; do
    both verifica "$scenario.zeb"
    both esporta "$scenario.zeb"
    both esporta "$scenario.zeb" -o "$scenario.csv"
    both importa "$scenario.csv" --scenario base.zeb -o "$scenario-importato.zeb"
    both collega "$scenario.zeb" -o "$scenario-collegato.zeb" --attesa-max 60
    both assegna "$scenario.zeb" -o "$scenario-assegnato.zeb" --treni tutti --tempo-max 0
    both assegna "$scenario.zeb" -o "$scenario-rischio.zeb" --rischio --simulazioni 20 --seme 7 \
        --tempo-max 0
    both perturba "$scenario-assegnato.zeb" -o "$scenario-perturbato.zeb" --azione sopprimi \
        --quota 50 --seme 7
    both confronta "$scenario-assegnato.zeb" "$scenario-perturbato.zeb" --csv "$scenario-diff.csv"
    both ritardi "$scenario-assegnato.zeb" --simulazioni 50 --seme 3
    both tabellone "$scenario-assegnato.zeb" --ora 08:00
done

# The files, byte for byte: the scenarios, the editor's data beside them, the CSV files.
if ! diff -r "$work/linux" "$work/windows" >"$work/files.diff"; then
    echo "DIFFERENT FILES:"
    head -20 "$work/files.diff"
    failures=$((failures + 1))
fi

# Each reads the other's files.
for scenario in giorno-assegnato example-perturbato giorno-collegato; do
    linux verifica "../windows/$scenario.zeb" >"$work/linux.out" 2>&1 || true
    windows verifica "../linux/$scenario.zeb" >"$work/windows.out" 2>&1 || true
    if ! cmp -s "$work/linux.out" "$work/windows.out"; then
        echo "DIFFERENT READING: $scenario"
        failures=$((failures + 1))
    fi
done

# The commands did their work, not only failed alike.
for made in base.zeb giorno.zeb giorno-assegnato.zeb giorno-assegnato.zeb-editor \
    giorno-perturbato.zeb giorno-diff.csv giorno-collegato.zeb four_trains-rischio.zeb \
    "treni è ł.csv" "Città assegnata.zeb-editor"; do
    if [ ! -s "$work/linux/$made" ]; then
        echo "NOT MADE: $made"
        failures=$((failures + 1))
    fi
done

count=$(ls "$work/linux" | wc -l)
echo "$count files compared; $failures differences"
[ "$failures" -eq 0 ]
