# Which core folder may include which. Every "#include "core/<folder>/..."" from a file in
# another core folder must be an edge of this table; cmake/check_include_map.cmake fails on any
# other, and on a core folder the table does not know. A new upward include is therefore an
# edit here, with its reason, not an accident. The subsystems do call each other (the context
# opens the store, the store sets items), so the table lists those edges rather than layers.
# A folder includes itself freely; common includes nothing of the core.
# One edge per line: "from to", then why.
set(ZEMS_CORE_FOLDERS common system tables items model rules context devmode store install bind front modules pjl)

set(ZEMS_INCLUDE_MAP
  # -- system: what the driver learns from the machine and spooler for a context
  "system common"    # text, memory, file and ini helpers
  "system context"   # printer facts are kept in the context's UI state
  "system tables"    # the model record names the driver's files
  "system items"     # the language of a context is a setting item
  "system install"   # the driver identity names the driver's files, languages and help file
  "system bind"      # remote configuration and bidi store of the printer
  "system model"     # the model description names the resource DLLs
  "system modules"   # string completion shows the custom-size limits
  "system store"     # the default folder's removal reads the stored preset and quality lists
  # -- tables: the static tables of the driver
  "tables common"    # text helpers
  "tables items"     # symbol tables are keyed by item ids and the catalogue
  "tables front"     # the symbol table holds the dialog records
  "tables system"    # the static language table
  # -- items: the setting items and their values
  "items common"
  "items context"    # items live in a context's settings block
  "items tables"     # symbols, value symbols, messages
  "items model"      # the model description supplies item limits and lookups
  "items rules"      # judge evaluation of an item's availability
  "items front"      # dialog controls of an item
  "items devmode"    # derived settings follow the couplings
  "items modules"    # free-size limits of outside modules
  "items store"      # item storage writes through the store
  "items system"     # display language, resource strings, printer facts
  # -- model: the model description (reader, parser, compiled image)
  "model common"
  "model tables"     # the parser fills the static tables
  "model items"      # the parser sets item rows
  "model context"    # the image is loaded for a context
  "model rules"      # the compiled image carries the compiled rules
  # -- rules: judge evaluator and rules compiler
  "rules common"
  "rules context"    # rules are judged against a context's settings
  "rules model"      # rules come from the model description
  "rules items"      # rules name items and values
  "rules tables"     # rules name symbols
  "rules front"      # rule statements name dialogs and controls of the page table
  "rules devmode"    # condition items are computed by the finishing rules
  # -- context: the driver context, its cache and UI state; it opens everything else
  "context common"
  "context system"   # printer name at open and cache match
  "context tables"   # model record, switches, symbols copied into the context
  "context items"    # item table and initial settings
  "context model"    # compiled model cache (load at open, free at detach)
  "context rules"    # rules judged when a context opens
  "context devmode"  # default settings
  "context store"    # the context opens the store (items, fonts)
  "context install"  # the install ini at open; the install state lives in the UI state
  "context front"    # dialog records and the busy state of the UI
  "context bind"     # job control of a context
  "context modules"  # the module bus calls the modules' judge hooks and preset cache
  # -- devmode: settings blocks, defaults and couplings
  "devmode common"
  "devmode context"  # a settings block belongs to a context
  "devmode items"    # defaults are item values
  "devmode tables"   # default values by symbol
  "devmode model"    # the description's defaults, papers and page records
  "devmode rules"    # transacts and conversion scripts of the description
  "devmode store"    # persisted device settings and lock data reach a merged block
  "devmode install"  # the driver identity stamps the private header
  "devmode system"   # printer and machine facts in the environment flags
  "devmode modules"  # module events and custom-size slots during a merge
  "devmode bind"     # job-control properties fetched during a merge
  # -- store: ini text, settings files, presets, quality lists, watermarks, custom sizes, fonts
  "store common"
  "store context"    # the store reads and writes for a context
  "store items"      # the store sets items
  "store tables"     # stored values by symbol
  "store system"     # settings-file paths
  "store bind"       # the load at open takes over acquired settings waiting in the bidi ini;
                     # settings files push job-control values
  "store model"      # the font tables' defaults are the model description's font lists
  "store devmode"    # settings files: version conversion, the merge after a load, paper codes
  "store rules"      # preset-file conditions ask the judges of the installed options
  "store modules"    # the preset and watermark stores free the preset cache
  "store install"    # the preset-list rebuild compares with the default pack's list
  # -- install: install ini, install pass, default packs, housekeeping, corrections, packages,
  #    driver identity and the model database
  "install common"
  "install context"  # every install step runs on a context
  "install items"    # installer defaults and identity values are items
  "install tables"   # the model record and symbols name the install keys
  "install system"   # printer names, settings folders, machine facts
  "install store"    # the install writes the settings stores (presets, quality lists, ini text)
  "install bind"     # identity values go to job control; the install pass resets the bindings' state
  "install devmode"  # the install pass stamps defaults; the upgrade converts stored settings blocks
  "install front"    # the housekeeping raises the front's busy count around its connection pass
  "install modules"  # the default packs free the preset cache
  # -- bind: job control, bidi and remote configuration
  "bind common"
  "bind context"     # a job binds to a context
  "bind items"       # job settings are items
  "bind store"       # bidi answers are stored
  "bind install"     # bidi and remote configuration read default packs, identity, installer
                     # defaults and the model database
  "bind system"      # printer names, languages and settings folders of the bound printer
  "bind model"       # model defaults of job items
  "bind tables"      # the option-code table of the printer answers
  # -- front: dialog lookups and UI state shared by the deliverables
  "front common"
  "front context"    # lookups run against a context
  "front tables"     # controls by symbol
  "front items"      # controls show items
  "front model"      # controls are bound to their model descriptions and judged by them
  "front rules"      # a committed value runs its alerts and transacts
  "front store"      # presets, custom sizes, watermarks and lock data the dialogs apply and save
  "front system"     # language DLL strings, the printer name, the help file, sub-dialogs
  "front devmode"    # apply commits the sheets' settings and the paper changes
  "front modules"    # preset names the confirm buttons look up
  "front install"    # a file dialog's save exports its package; the spool folder's registry value
  # -- modules: outside modules
  "modules common"
  "modules context"  # module callbacks get the context
  "modules items"    # limits follow the display unit of the settings
  "modules tables"   # the default custom-size limits
  "modules front"    # dialog and control records that events and control callbacks carry
  "modules store"    # chapter keys, profile entries, quality lists, watermarks and lock data live in the stores
  "modules bind"     # tray events of the acquisition and the printer's default tray
  "modules devmode"  # the chapter re-check runs the items' transacts
  "modules system"   # language section of the chapter keys, settings paths, profile names
  "modules install"  # the factory stores' copy event carries its files; package file names
  "modules model"    # the model default the resolution merge takes
  "modules rules"    # the options page lists the trays the model's judges leave enabled
  # -- pjl: the "@PJL SET" exclusion command service of zemsexc
  "pjl common"       # memory and text helpers
  "pjl context"      # a handle holds a driver context of its printer
  "pjl items"        # variables are setting items; the allowed-value condition tests
  "pjl model"        # option commands and numeric records of the description; its character classes
  "pjl tables"       # the PJL variable table and its small tables
  "pjl devmode"      # the coupling pass after the lines are applied
  "pjl rules"        # an update runs the setting's Transact list
  "pjl bind"         # the job-control user code read at open
  "pjl store"        # the watermark lines read the stored watermarks
  "pjl system"       # the settings ini's path of a printer, per user on a multi-session host
)
