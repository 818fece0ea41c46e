#!/bin/sh
# The include graph is the dependency table of the README: a library's files include their own
# folder's headers bare, and other folders' headers by their path from the repository root, only
# from folders the library links. A bare include of another folder's header fails here.
# Usage: include_graph_test.sh <repository root>
set -u
cd "$1" || exit 2
failures=0

check() {
    folder=$1
    allowed=$2
    for file in $(find "$folder" -name '*.h' -o -name '*.cpp'); do
        for name in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file"); do
            if [ -f "$(dirname "$file")/$name" ]; then
                continue  # a header of its own folder, or of a subfolder of it
            fi
            case "$name" in
            */*)
                top=${name%%/*}
                if ! echo " $folder $allowed " | grep -q " $top "; then
                    echo "$file includes $name: $folder does not depend on $top"
                    failures=$((failures + 1))
                elif [ ! -f "$name" ]; then
                    echo "$file includes $name, which is not a file of the repository"
                    failures=$((failures + 1))
                fi
                ;;
            *)
                echo "$file includes $name bare, but it is not in its own folder"
                failures=$((failures + 1))
                ;;
            esac
        done
    done
}

check catalogue ""
check navigation "catalogue"
check pictures "catalogue"
check browser "navigation pictures catalogue"
check ui "browser navigation pictures catalogue"
check tools "catalogue"
if [ "$failures" -ne 0 ]; then
    echo "$failures includes outside the dependency table"
    exit 1
fi
echo "include graph: every include within the dependency table"
