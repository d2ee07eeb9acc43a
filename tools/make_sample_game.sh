#!/usr/bin/env bash
# make_sample_game.sh FOLDER: creates a game folder with its stock music in
# place and the music modification's files unpacked beside it (the 23 stock
# tracks and the 7 replacement tracks), each a short valid WAV file with a tone
# of its own. An existing folder is left alone.
set -euo pipefail
export LC_ALL=C  # the tone is built byte by byte
folder=${1:?usage: make_sample_game.sh FOLDER}
if [ -e "$folder" ]; then
  echo "$folder already exists; leaving it as it is."
  exit 0
fi

names=(
  streammusic/mus_area_ahto.wav streammusic/mus_area_cant1.wav streammusic/mus_area_desert.wav
  streammusic/mus_area_out.wav streammusic/mus_area_sewers.wav streammusic/mus_area_sforge.wav
  streammusic/mus_area_townint.wav streammusic/mus_area_valsith.wav streammusic/mus_bat_acad.wav
  streammusic/mus_bat_desert.wav streammusic/mus_bat_malak.wav streammusic/mus_bat_sithbs.wav
  streammusic/mus_bat_slehey.wav streammusic/mus_bat_valsith.wav streammusic/mus_theme_cult.wav
  streamsounds/mus_sbat_acad.wav streamsounds/mus_sbat_desert.wav streamsounds/mus_sbat_sforge.wav
  streamsounds/mus_sbat_sithbs.wav streamsounds/mus_sbat_slehey.wav streamsounds/mus_sbat_valsith.wav
  streammusic/mus_area_acad.wav streammusic/mus_theme_malak.wav
  streammusic/mus_area_ahto.mod.wav streamsounds/mus_sbat_acad.mod.wav
  streamsounds/mus_sbat_desert.mod.wav streamsounds/mus_sbat_sforge.mod.wav
  streamsounds/mus_sbat_sithbs.mod.wav streamsounds/mus_sbat_slehey.mod.wav
  streamsounds/mus_sbat_valsith.mod.wav
)

le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }

# Half a second of an 8-bit mono square wave at 8000 Hz; the period differs per file.
write_wav() {
  local file=$1 half=$2 samples=4000
  local high low wave=""
  high=$(printf '\xc0%.0s' $(seq "$half"))
  low=$(printf '\x40%.0s' $(seq "$half"))
  while [ ${#wave} -lt $samples ]; do wave+="$high$low"; done
  wave=${wave:0:$samples}
  {
    printf 'RIFF'; le32 $((36 + samples)); printf 'WAVEfmt '
    le32 16; printf '\x01\x00\x01\x00'; le32 8000; le32 8000; printf '\x01\x00\x08\x00'
    printf 'data'; le32 $samples; printf '%s' "$wave"
  } > "$file"
}

mkdir -p "$folder/streammusic" "$folder/streamsounds"
i=0
for name in "${names[@]}"; do
  write_wav "$folder/$name" $((4 + i))
  i=$((i + 1))
done
echo "Created a stock game folder with ${#names[@]} tracks in $folder"
