project = 'Frobnitz Handbuch für Anfänger'
author = 'Vellumo'
language = 'en'
extensions = ['sphinxcontrib.htmlhelp', 'sphinxcontrib.qthelp']
htmlhelp_basename = 'frobnitz'
qthelp_basename = 'frobnitz'
