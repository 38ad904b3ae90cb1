# Sourced by scripts/test-windows after wine-prefix.sh and checks.sh:
#   compare_qlt LINUX_BIN WINDOWS_QLT WORK_DIR
# runs the Linux qlt (LINUX_BIN/qlt) and the Windows qlt.exe under Wine on every sample class and on
# classes made by LINUX_BIN/generate_data, with the same options, each in a folder of its own, and
# checks that they end the same way and write the same bytes: the report, the visual report, the
# table, the report on standard output, and the messages (Windows' console adds a CR before each LF).

# The classes made for the comparison: students items choices seed. Among them one student alone
# (no spread of scores), a class too small for upper and lower groups, and a large class.
generated_classes=(
    "1 10 4 11"
    "3 12 4 12"
    "40 40 4 13"
    "45 60 5 14"
    "250 120 5 15"
    "2000 300 5 16"
)

every_analysis=raw,range,mean,median,mode,sd,z,t,skewness,kurtosis,reliability,difficulty,discrimination,sem,distractors

# run_both NAME DATA_FILE ARGUMENT... — runs both programs in NAME/linux and NAME/windows on a copy of
# the data file named class.txt, with standard output and error captured beside the outputs.
run_both() {
    local name=$1 data=$2 side
    shift 2
    for side in linux windows; do
        rm -rf "$work/$name/$side"
        mkdir -p "$work/$name/$side"
        cp "$data" "$work/$name/$side/class.txt"
    done
    (cd "$work/$name/linux" && { "$linux_bin/qlt" "$@" >stdout 2>stderr && echo 0 || echo $?; } >status)
    (cd "$work/$name/windows" && { wine "$windows_qlt" "$@" >stdout 2>stderr && echo 0 || echo $?; } >status)
    tr -d '\r' <"$work/$name/windows/stderr" >"$work/$name/windows/stderr.lf"
    mv "$work/$name/windows/stderr.lf" "$work/$name/windows/stderr"
}

# same_outputs NAME — both folders hold the same files with the same bytes.
same_outputs() {
    local a=$work/$1/linux b=$work/$1/windows file status=0
    [ "$(cd "$a" && ls)" = "$(cd "$b" && ls)" ] || { echo "files differ: $(ls "$a") / $(ls "$b")"; return 1; }
    for file in $(cd "$a" && ls); do
        cmp "$a/$file" "$b/$file" || status=1
    done
    return $status
}

compare_qlt() {
    linux_bin=$1 windows_qlt=$2 work=$3
    mkdir -p "$work"
    local data name choices entry students items seed
    local inputs=() # file and number of choices
    inputs+=("$PWD/examples/class-4choices.txt 4" "$PWD/examples/class-5choices.txt 5")
    inputs+=("$PWD/examples/class-slips.txt 4")
    for entry in "${generated_classes[@]}"; do
        read -r students items choices seed <<<"$entry"
        data=$work/generated-$students-$items-$choices.txt
        "$linux_bin/generate_data" "$students" "$items" "$choices" "$data" "$seed"
        inputs+=("$data $choices")
    done

    for entry in "${inputs[@]}"; do
        read -r data choices <<<"$entry"
        name=$(basename "$data" .txt)
        run_both "$name-default" "$data" class.txt
        check "qlt.exe writes the same Result.doc as qlt: $name" same_outputs "$name-default"
        run_both "$name-all" "$data" --select="$every_analysis" --choices="$choices" \
            -o report.doc --html report.html --csv report.csv class.txt
        check "... and the same report, visual report and table with every analysis" same_outputs "$name-all"
        run_both "$name-stdout" "$data" --select="$every_analysis" --choices="$choices" -o - class.txt
        check "... and the same report on standard output" same_outputs "$name-stdout"
    done

    # Warnings and refusals: the same Thai messages and the same exit status.
    printf 'KEY 1234\r\n001 12\r\n' >"$work/warned-one-student.txt"
    printf 'KEY\r\n' >"$work/refused-no-key.txt"
    printf '' >"$work/refused-empty.txt"
    for data in "$work"/warned-one-student.txt "$work"/refused-*.txt; do
        name=$(basename "$data" .txt)
        run_both "$name" "$data" -o report.doc class.txt
        check "qlt.exe answers $name as qlt does, with the same messages" same_outputs "$name"
    done
    run_both bad-option "$work/refused-empty.txt" --choices=7 class.txt
    check "qlt.exe refuses a wrong option as qlt does" same_outputs bad-option
}
