include(cmake/Embed.cmake)
target_sources(vmxcore PRIVATE
  lang/catalogue.cpp
  lang/channel_text.cpp
  lang/form_texts.cpp
  lang/language_choice.cpp
  lang/log_stamp.cpp
  lang/number_text.cpp
)
vmx_embed(vmxcore data/lang/english.ini EnglishTable)
vmx_embed(vmxcore data/lang/german.ini GermanTable)
