# shellcheck shell=bash
# Shared by the benchmark scripts: generated clips and bare probe runs.

# make_clips FOLDER N: N clips of 4 s, 640x360 h264 + aac, each its own tone.
make_clips() {
    local folder=$1 n=$2 i
    for i in $(seq 1 "$n"); do
        ffmpeg -hide_banner -loglevel error -nostdin -y \
            -f lavfi -i "testsrc2=size=640x360:rate=25:duration=4" \
            -f lavfi -i "sine=frequency=$((300 + i * 10)):duration=4" \
            -c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p -c:a aac "$folder/clip$i.mp4"
    done
}

# make_copied_clips FOLDER N [DISTINCT]: N files for a long list, made
# quickly: DISTINCT (default 5) small clips (320x180, 25 fps, 2 s, 2.4 s,
# 2.8 s and so on, h264 + aac, each its own tone), checked, then copied in
# turn to FOLDER/files/clip0001.mp4 ... (real copies: a link is not what a
# user adds). Writes FOLDER/files.tsv, one file a line in list order:
# "path<TAB>duration in microseconds, as the prober reads it<TAB>clip".
make_copied_clips() {
    local folder=$1 n=$2 distinct=${3:-5} k seconds streams frames duration size i
    local sources=() durations=()
    mkdir -p "$folder/sources" "$folder/files"
    for k in $(seq 1 "$distinct"); do
        seconds=$(awk -v k="$k" 'BEGIN { printf "%.1f", 1.6 + k * 0.4 }')
        ffmpeg -hide_banner -loglevel error -nostdin -y \
            -f lavfi -i "testsrc2=size=320x180:rate=25:duration=$seconds" \
            -f lavfi -i "sine=frequency=$((300 + k * 70)):duration=$seconds" \
            -c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p -c:a aac -b:a 64k \
            "$folder/sources/clip$k.mp4"
        # A clip that is not what was asked for would make every figure
        # after it meaningless.
        streams=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 \
            "$folder/sources/clip$k.mp4" | paste -sd, -)
        frames=$(ffprobe -v error -select_streams v:0 -count_packets \
            -show_entries stream=nb_read_packets -of csv=p=0 "$folder/sources/clip$k.mp4")
        duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 \
            "$folder/sources/clip$k.mp4")
        if [ "$streams" != "h264,aac" ] ||
            [ "$frames" != "$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 25 + 0.5 }')" ] ||
            ! awk -v d="$duration" -v s="$seconds" 'BEGIN { exit !(d - s < 0.1 && s - d < 0.1) }'; then
            echo "generated clip $k is wrong: streams $streams, $frames frames," \
                "$duration s (wanted h264,aac, $seconds s at 25 fps)" >&2
            return 1
        fi
        sources+=("$folder/sources/clip$k.mp4")
        durations+=("$(awk -v d="$duration" 'BEGIN { printf "%d", d * 1000000 + 0.5 }')")
    done
    : >"$folder/files.tsv"
    for i in $(seq 1 "$n"); do
        k=$(( (i - 1) % distinct ))
        printf -v name '%s/files/clip%04d.mp4' "$folder" "$i"
        cp "${sources[$k]}" "$name"
        printf '%s\t%s\t%d\n' "$name" "${durations[$k]}" "$((k + 1))" >>"$folder/files.tsv"
    done
    for k in $(seq 0 $((distinct - 1))); do
        size=$(stat -c %s "${sources[$k]}")
        if awk -F'\t' -v k=$((k + 1)) '$3 == k { print $1 }' "$folder/files.tsv" |
            xargs -r stat -c %s | grep -vqx "$size"; then
            echo "a copy of clip $((k + 1)) differs in size from it" >&2
            return 1
        fi
    done
}

# The program's probe of one file, as it runs it: the prober's JSON answer,
# then the thumbnail when the answer names a picture stream. POSIX sh, so a
# file costs one small shell beside the two tools the program starts too.
# Arguments: media tool, prober, thumbnail (a folder ending in "/" takes
# "<file name>.jpg"), file.
# shellcheck disable=SC2016,SC2089
PROBE_ONE_SH='
case $3 in */) thumbnail="$3${4##*/}.jpg" ;; *) thumbnail=$3 ;; esac
entries="format=format_name,duration,start_time,bit_rate,probe_score"
entries="$entries:stream=index,codec_type,codec_name,profile,pix_fmt,width,height,sample_aspect_ratio,"
entries="${entries}display_aspect_ratio,bit_rate,avg_frame_rate,r_frame_rate,time_base,sample_rate,"
entries="${entries}channels,channel_layout,sample_fmt,bits_per_sample"
entries="$entries:stream_tags=language,title:stream_disposition=attached_pic"
answer=$("$2" -v warning -of json -show_entries "$entries" -i "file:$4" </dev/null 2>/dev/null)
case $answer in
*"\"codec_type\": \"video\""*)
    "$1" -v error -nostdin -i "file:$4" -an -sn -dn -frames:v 1 -f image2 -y "file:$thumbnail" \
        </dev/null >/dev/null 2>&1 || true ;;
esac
'

# prober_beside FFMPEG: the prober the program uses with this media tool:
# the one in the same folder, else the one beside the link's target, else
# the one on the PATH.
prober_beside() {
    local tool=$1 folder
    for folder in "$(dirname "$tool")" "$(dirname "$(readlink -f "$tool")")"; do
        if [ -f "$folder/ffprobe" ] && [ -x "$folder/ffprobe" ]; then
            echo "$folder/ffprobe"
            return
        fi
    done
    command -v ffprobe
}

# probe_one FFMPEG THUMB FILE: the program's probe of one file.
probe_one() {
    sh -c "$PROBE_ONE_SH" sh "$1" "$(prober_beside "$1")" "$2" "$3"
}

# bare_probes_ms FFMPEG THUMBFOLDER PARALLEL FILES...: wall time in ms of
# the program's probe commands for every file, PARALLEL files at a time,
# each next file started as soon as one is done (as the program's queue
# does), each file with its own thumbnail. Fails when a file's thumbnail
# is missing, so a broken run cannot pass for a fast one.
bare_probes_ms() {
    local tool=$1 thumbs=$2 parallel=$3 prober start end missing file
    shift 3
    prober=$(prober_beside "$tool")
    # Earlier rounds' pictures would hide a missing one.
    rm -rf "$thumbs"
    mkdir -p "$thumbs"
    start=$(date +%s%N)
    printf '%s\0' "$@" | xargs -0 -P "$parallel" -I{} \
        sh -c "$PROBE_ONE_SH" sh "$tool" "$prober" "$thumbs/" {}
    end=$(date +%s%N)
    missing=0
    for file in "$@"; do
        [ -s "$thumbs/${file##*/}.jpg" ] || missing=$((missing + 1))
    done
    if [ "$missing" -gt 0 ]; then
        echo "bare probes: $missing of $# files got no thumbnail" >&2
        return 1
    fi
    echo $(( (end - start) / 1000000 ))
}
