#!/bin/sh
# The test executables of a configured and built tree: test_layout_test.sh <build dir> <source dir>
# - every file a test folder compiles is in that folder (shared files live in tests/support);
# - every test executable links exactly one main() (no gtest_main beside a main of its own).
set -e
build="$1"
source="$2"
status=0

awk -F'"' '/"directory":/ { dir = $4 } /"file":/ { print dir " " $4 }' \
    "$build/compile_commands.json" > "$build/test_layout.files"
while read -r dir file; do
    case $dir in
        "$build"/tests/*) ;;
        *) continue ;;
    esac
    folder=${dir#"$build"/tests/}
    case $file in
        "$source/tests/$folder"/* | "$build"/*) ;;
        *)
            echo "tests/$folder compiles $file, from another folder"
            status=1
            ;;
    esac
done < "$build/test_layout.files"
rm -f "$build/test_layout.files"

links=$(find "$build/tests" -path '*/CMakeFiles/*.dir/link.txt')
if [ -z "$links" ]; then
    echo "no link.txt under $build/tests (not a Makefile build): skipped"
    exit 77
fi
for link in $links; do
    target=$(basename "$(dirname "$link")" .dir)
    grep -q -- "-o $target " "$link" || continue  # a library, not an executable
    # The link runs in the folder above CMakeFiles.
    cd "$(dirname "$link")/../.."
    mains=0
    for input in $(cat "$link"); do
        case $input in
            *.o | *.a)
                if nm --defined-only "$input" 2>/dev/null | grep -q ' T main$'; then
                    mains=$((mains + 1))
                fi
                ;;
        esac
    done
    if [ "$mains" -ne 1 ]; then
        echo "$target links $mains definitions of main()"
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "test executables: own sources only, one main() each"
exit $status
