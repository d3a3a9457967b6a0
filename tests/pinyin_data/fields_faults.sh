#!/usr/bin/env bash
# make_pinyin_data stops at a fault in the fields' sentences or the standard readings, names the
# line, and writes no file.
# Usage: fields_faults.sh MAKE_PINYIN_DATA SCRATCH_DIR TERRA_DICT ... STANDARD_READINGS
# (the generator's inputs between OUT and FIELDS).
set -u
gen=$1 dir=$2
shift 2
inputs=("$@")
mkdir -p "$dir"
failed=0
standard=${inputs[-1]}
# Runs the generator on STANDARD_READINGS and the fields in $dir/fields.tsv; it must refuse them
# with EXPECTED_MESSAGE and write nothing.
refuses() { # WHAT STANDARD_READINGS EXPECTED_MESSAGE
    rm -f "$dir/out.dat"
    if out=$("$gen" "$dir/out.dat" "${inputs[@]:0:${#inputs[@]}-1}" "$2" "$dir/fields.tsv" 2>&1); then
        echo "FAIL: accepted $1"
        failed=1
    elif [[ $out != *"$3"* ]]; then
        echo "FAIL: for $1 said: $out (expected: $3)"
        failed=1
    elif [ -e "$dir/out.dat" ]; then
        echo "FAIL: wrote a file for $1"
        failed=1
    fi
}
check() { # FIELDS EXPECTED_MESSAGE
    printf '%b' "$1" > "$dir/fields.tsv"
    refuses "$1" "$standard" "$2"
}
good='history\t长城是中国古代的军事防御工程。\tchang2 cheng2 shi4 zhong1 guo2 gu3 dai4 de5 jun1 shi4 fang2 yu4 gong1 cheng2\n'
check 'f\t两个字\tliang3 ge4\n' 'line 1: 3 Han characters but 2 syllables'
check 'f\t字\tzi4 zi4\n' 'line 1: 1 Han characters but 2 syllables'
check "${good}\nf\t行\txing\n" 'line 3: "xing" is not a numbered syllable'
check 'f\t行\tXing2\n' '"Xing2" is not a numbered syllable'
check 'f\t行\t2\n' '"2" is not a numbered syllable'
check 'f\t只有句子\n' 'line 1: not field, sentence and syllables separated by tabs'
check "${good}f\t长\tchang2\textra\n" 'line 2: not field, sentence and syllables'
# A word the standard readings give twice must read alike both times.
printf '%b' "$good" > "$dir/fields.tsv"
checkStandard() { # STANDARD_READINGS EXPECTED_MESSAGE
    printf '%b' "$1" > "$dir/standard.txt"
    refuses "$1" "$dir/standard.txt" "$2"
}
checkStandard '# notes\n尉氏\twèi shì\n作揖\tzuò yī\n尉氏\tyù shì\n' 'line 4: the word of line 2 again, read otherwise'
checkStandard '作揖\tzuò\n' 'line 1: not a word, a tab and one syllable per character'
# ...and the same word written twice alike is no fault.
if ! out=$("$gen" "$dir/out.dat" "${inputs[@]:0:${#inputs[@]}-1}" <(cat "$standard" <(grep -m1 -P '^[^#\t]+\t' "$standard")) "$dir/fields.tsv" 2>&1); then
    echo "FAIL: a word written twice alike was refused: $out"
    failed=1
fi
rm -rf "$dir"
exit $failed
