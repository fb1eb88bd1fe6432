include(cmake/Embed.cmake)
target_sources(vmxcore PRIVATE
  app/lang/catalogue.cpp
)
vmx_embed(vmxcore data/lang/english.ini EnglishTable)
vmx_embed(vmxcore data/lang/german.ini GermanTable)
