# Writes the files IN, one after the other, to OUT.
file(WRITE ${OUT} "")
foreach(file IN LISTS IN)
  file(READ ${file} text)
  file(APPEND ${OUT} "${text}")
endforeach()
