# Sourced by the demo and the updater's end-to-end test: writes a catalog as a
# vendor would, with the CRC and size the vendor's tool computes.
# Needs: kwcatalog (path of kwcatalog.exe), root (the served folder, update
# files in $root/files), server (the server's URL), main (the product code).

# catalog_update ID VERSION MIN MAX FILE FORMAT [PARAMETERS]: one update entry.
catalog_update() {
  local crc size
  read -r crc size _ < <(wine "$kwcatalog" crc "$root/files/$5" | tr -d '\r')
  echo "<update id=\"$1\"><version>$2</version><targetversionmin>$3</targetversionmin>"
  echo "<targetversionmax>$4</targetversionmax><filename>$5</filename><format>$6</format>"
  echo "<filecrc>$crc</filecrc><filesize>$size</filesize><parameters>${7:-}</parameters></update>"
}

# catalog_write ENTRIES [PRODUCTS]: $root/catalog.xml with the main product's
# entries, further product elements, and the server's files folder as the
# only source.
catalog_write() {
  {
    echo '<?xml version="1.0" encoding="windows-1252"?><updates appname="Melvaro 2012" servername="bench">'
    echo "<product id=\"$main\" mne=\"MEL\">$1</product>${2:-}"
    echo "<source priority=\"1\">$server/files/</source></updates>"
  } >"$root/catalog.xml"
}
