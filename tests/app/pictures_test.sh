#!/bin/sh
# Pictures every window with tq7shots on a loopback-only host and checks that each picture was
# written: pictures_test.sh TQ7SHOTS FOLDER. Skipped (77) where no such host can be made.
set -eu
tool=$1
folder=$2
rm -rf "$folder"
"$(dirname "$0")/../support/in_loopback_host.sh" sh -c \
    '[ "$(hostname)" = tq7-test-host ] || { echo "no loopback-only host here"; exit 77; }; exec "$@"' \
    sh "$tool" "$folder"
for name in main_window set_ip_address reboot_converter converter_information configuration_via_usb \
    usb_1_connected_and_read usb_2_speed_changed usb_3_applied usb_4_saved_to_file usb_5_loaded_from_file \
    usb_device_information usb_6_restarted progress; do
    [ -s "$folder/$name.png" ] || { echo "$name.png was not written"; exit 1; }
done
