# Parsing speed of XmlDocument next to libexpat over the same generated document.
find_package(EXPAT REQUIRED)
tv_bench(xml LIBS tv_xml EXPAT::EXPAT)
