include(cmake/Embed.cmake)
target_sources(vmxcore PRIVATE
  app/lang/catalogue.cpp
  app/lang/channel_text.cpp
  app/lang/form_texts.cpp
  app/lang/language_choice.cpp
  app/lang/log_stamp.cpp
)
vmx_embed(vmxcore data/lang/english.ini EnglishTable)
vmx_embed(vmxcore data/lang/german.ini GermanTable)
